// platform.cpp -- the clock and the mouse from SDL, and the initials' letters and digits.
#include "ports/platform.h"

#include <SDL.h>

#include "sdl/shell/shell.h"

namespace {
bool PressLatched = false;
}  // namespace

uint32_t ClockNow()
{
    return SDL_GetTicks();
}

// In game-area pixels, which is where the game area lies: its offset stays (0, 0) here. Away from
// the window the pointer is over no button.
ScreenPoint CursorPosition()
{
    if (SDL_GetMouseFocus() == nullptr) {
        return {-1, -1};
    }
    int x = 0;
    int y = 0;
    SDL_GetMouseState(&x, &y);
    return GameAreaPoint(x, y);
}

// A click shorter than a frame still shows the button pressed in the next frame, so it is not lost.
bool LeftButtonDown()
{
    return (SDL_GetMouseState(nullptr, nullptr) & SDL_BUTTON_LMASK) != 0 || PressLatched;
}

void NoteLeftButtonPress()
{
    PressLatched = true;
}

void ForgetLeftButtonPress()
{
    PressLatched = false;
}

// The initials take ASCII letters and digits, all the game's font can draw.
bool IsAlphaNumericKey(uint8_t key)
{
    return (key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z') || (key >= 'a' && key <= 'z');
}
