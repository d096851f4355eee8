// keyboard.cpp -- key repeat: a key acts at once, then after its first delay, then 30 ms sooner
// each time, down to every 30 ms, whatever the frame rate.
#include "core/game/keyboard.h"

#include <algorithm>

#include "core/game/board.h"
#include "core/log/debug_log.h"
#include "ports/keyboard_device.h"

KeyState KeyStates[KeyCodeCount];
uint32_t KeyRepeatDelay[KeyCodeCount];

namespace {

struct GameKey {
    uint8_t code;
    uint32_t firstDelay;
};

// In the order each frame examines them.
constexpr GameKey GameKeys[] = {{KeyLeft, 140}, {KeyRight, 140}, {KeyDown, 120}, {KeySpace, 300}};
constexpr uint32_t RepeatStep = 30;
constexpr uint32_t FastestRepeat = 30;

// A snapshot that no read produced is never acted on: after a recovered loss the state is
// read again, and a frame whose reads all fail skips the keys.
bool ReadSnapshot(uint8_t (&snapshot)[KeySnapshotSize])
{
    AcquireKeyboard();
    const ResultCode result = ReadKeyboardState(snapshot);
    if (result >= 0) {
        return true;
    }
    if (result != ResultInputLost && result != ResultNotAcquired) {
        WriteDebugLog("Unknown DI error while reacquiring");
        return false;
    }
    if (AcquireKeyboard() < 0) {
        WriteDebugLog("Failed to acquire input during ProcessKBInput");
        return false;
    }
    return ReadKeyboardState(snapshot) >= 0;
}

void UpdateKey(const GameKey& key, bool down, uint32_t elapsed)
{
    KeyState& state = KeyStates[key.code];
    if (!state.held) {
        if (down) {
            state = {true, 0, KeyRepeatDelay[key.code]};
            DoKeyAction(key.code);
        }
        return;
    }
    if (!down) {
        state.held = false;
        return;
    }
    state.heldTime += elapsed;
    if (state.heldTime > state.delay) {
        DoKeyAction(key.code);
        // Frames come a refresh apart, so each repeat would be late by part of a frame: the time
        // held beyond the delay counts towards the next one, but at most one repeat is banked.
        const uint32_t next = state.delay > FastestRepeat + RepeatStep ? state.delay - RepeatStep : FastestRepeat;
        state.heldTime = std::min(state.heldTime - state.delay, next);
        state.delay = next;
    }
}

}  // namespace

void ProcessKBInput(uint32_t elapsed)
{
    uint8_t snapshot[KeySnapshotSize];
    if (!ReadSnapshot(snapshot)) {
        return;
    }
    for (const GameKey& key : GameKeys) {
        KeyRepeatDelay[key.code] = key.firstDelay;
    }
    for (const GameKey& key : GameKeys) {
        UpdateKey(key, (snapshot[key.code] & 0x80) != 0, elapsed);
    }
}

void DoKeyAction(int32_t key)
{
    switch (key) {
    case KeyLeft: MoveLeft(); break;
    case KeyRight: MoveRight(); break;
    case KeyDown: MoveDown(); break;
    case KeySpace: RotateTetrad(); break;
    default: break;
    }
}

void ResetKeyStates()
{
    for (int code = 0; code < KeyCodeCount; ++code) {
        KeyStates[code] = {false, 0, KeyRepeatDelay[code]};
    }
}
