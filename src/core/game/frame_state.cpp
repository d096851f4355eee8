// frame_state.cpp -- storage for the frame's shared state.
#include "core/game/frame_state.h"

#include <algorithm>

int32_t GameState = StateTitleMenu;
int32_t PausedState = StateTitleMenu;
uint32_t LastFrameTime = 0;
uint32_t FallTimer = 0;
uint32_t GhostTimer = 0;
bool GhostVisible = false;
uint32_t InterferenceTimer = 0;
uint32_t LockPauseStart = 0;
bool BoardNeedsClearing = false;
bool RepaintPending = false;
bool GameActive = false;

uint32_t InterferenceRollsDue()
{
    constexpr uint32_t RollIntervalMs = 10;
    constexpr uint32_t MostRollsAtOnce = 4;  // a frame at 25 Hz
    const uint32_t rolls = std::min(InterferenceTimer / RollIntervalMs, MostRollsAtOnce);
    InterferenceTimer = rolls == MostRollsAtOnce ? 0 : InterferenceTimer % RollIntervalMs;
    return rolls;
}
