// platform.h -- the few services of the window and the system that game code asks for.
#pragma once

#include <cstdint>

#include "core/shell/screen.h"

uint32_t ClockNow();                  // the multimedia clock, in milliseconds
ScreenPoint CursorPosition();         // in screen coordinates
bool LeftButtonDown();                // at this moment, not from a message
void PostRepaint();                   // a whole-screen redraw of the current state, soon
void PostClose();                     // asks the window to close, as its close box does
bool IsAlphaNumericKey(uint8_t key);  // the system's test for single-byte characters
void SwitchDisplayMode();             // between a window and full screen
