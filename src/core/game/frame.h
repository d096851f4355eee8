// frame.h -- the per-frame heartbeat: title menu, play, top five, initials, pause.
#pragma once

#include <cstdint>

#include "core/common/result_codes.h"
#include "ports/drawing.h"

// Runs the current screen state once; 0, or a drawing failure the frame could not repair.
ResultCode UpdateFrame(MenuButtonSet& buttons);

// A new game on the title menu: an empty board with `current` falling and `next` in the preview,
// new counters, no timer running, nothing pending, no initials typed and no key held.
void ResetGameState(int32_t current, int32_t next);

// The game at start-up: the generator seeded, the falling and the next kind drawn from it, a new
// game's state and the frame clock started.
void StartGameState(uint32_t seed);

// True when left <= px < right and top <= py < bottom.
bool PointInRect(int32_t px, int32_t py, int32_t left, int32_t top, int32_t right, int32_t bottom);
