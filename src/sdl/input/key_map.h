// key_map.h -- SDL's keys in the codes the game already uses: DirectInput's key numbers for the
// polled snapshot of the game keys, Windows' virtual keys for the key-downs of the shell and the
// initials.
#pragma once

#include <SDL.h>

#include <cstdint>

// The snapshot byte of a physical key; 0 for a key the game has no number for.
uint8_t SnapshotCode(SDL_Scancode scancode);

// The virtual key of a key-down: letters and digits as the keyboard layout names them, other keys
// by their place; 0 for a key without one.
uint8_t VirtualKey(SDL_Scancode scancode, SDL_Keycode symbol);
