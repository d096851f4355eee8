// shell.h -- the shell's portable decisions: the command line, the window size, and what the
// keys and the mouse button do outside the polled game keys.
#pragma once

#include <cstdint>

#include "core/shell/screen.h"

extern bool MusicEnabled;  // the player wants music; M switches it
extern bool GameStarted;   // start-up has finished; keys that come while it loads do nothing

// Exactly "/full" in any letter case: anything else, even with more words, is windowed.
bool IsFullScreenCommandLine(const char* commandLine);

struct WindowSize {
    int32_t width;
    int32_t height;
};

// The outer size that gives a 640 x 480 client area (full screen: the area itself).
WindowSize WindowSizeFor(bool fullScreen, const FrameMetrics& frame);

constexpr uint32_t KeyEscape = 0x1B;
constexpr uint32_t KeyQ = 0x51;
constexpr uint32_t KeyM = 0x4D;
constexpr uint32_t KeyF1 = 0x70;
constexpr uint32_t KeyF2 = 0x71;
constexpr uint32_t KeyF6 = 0x75;

// A key-down message: initials while they are typed, else leave, pause, music or display mode.
void HandleKeyDown(uint32_t key);

// The left button released: ends a pause.
void HandleLeftButtonUp();
