// keyboard.h -- the four game keys, polled each playing frame, acting on press and repeating
// faster while held.
#pragma once

#include <cstdint>

constexpr int KeyCodeCount = 255;  // codes 0 to 254 have a state
constexpr uint8_t KeyLeft = 203;
constexpr uint8_t KeyRight = 205;
constexpr uint8_t KeyDown = 208;
constexpr uint8_t KeySpace = 57;

struct KeyState {
    bool held;
    uint32_t heldTime;  // ms held towards the next action (the rest of the last delay included)
    uint32_t delay;     // ms it must be held beyond its last action to act again
};

extern KeyState KeyStates[KeyCodeCount];
extern uint32_t KeyRepeatDelay[KeyCodeCount];

void ProcessKBInput(uint32_t elapsed);
void DoKeyAction(int32_t key);
void ResetKeyStates();
