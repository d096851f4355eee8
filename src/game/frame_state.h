// frame_state.h -- timers and flags of the per-frame game flow that other code touches.
#pragma once

#include <cstdint>

extern uint32_t FallTimer;    // ms towards the next timed fall (or static burst)
extern uint32_t GhostTimer;   // ms gathered towards the next blink of the ghost tetrad
extern bool GhostVisible;
