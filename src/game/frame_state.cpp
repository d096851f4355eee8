// frame_state.cpp -- storage for the frame's shared timers and flags.
#include "game/frame_state.h"

uint32_t FallTimer = 0;
uint32_t GhostTimer = 0;
bool GhostVisible = false;
