// keyboard.cpp -- the game keys polled from SDL's key state, in DirectInput's numbering. Like a
// DirectInput device in the foreground, it answers only while the window is active. (An X server
// without a window manager may never report the focus, so the shell's activation decides.)
#include "ports/keyboard_device.h"

#include <cstring>

#include "core/game/frame_state.h"
#include "sdl/input/key_map.h"

ResultCode AcquireKeyboard()
{
    return GameActive ? ResultOk : ResultNotAcquired;
}

ResultCode ReadKeyboardState(uint8_t (&snapshot)[KeySnapshotSize])
{
    if (!GameActive) {
        return ResultNotAcquired;
    }
    std::memset(snapshot, 0, sizeof snapshot);
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    for (int scancode = 0; scancode < count; ++scancode) {
        const uint8_t code = SnapshotCode(static_cast<SDL_Scancode>(scancode));
        if (state[scancode] != 0 && code != 0) {
            snapshot[code] = 0x80;
        }
    }
    return ResultOk;
}
