// frame_state.cpp -- storage for the frame's shared state.
#include "game/frame_state.h"

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

bool InterferenceRollDue()
{
    constexpr uint32_t RollIntervalMs = 10;
    if (InterferenceTimer < RollIntervalMs) {
        return false;
    }
    InterferenceTimer = 0;
    return true;
}
