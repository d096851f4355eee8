// frame_state.h -- the screen state and the timers and flags of the per-frame game flow.
#pragma once

#include <cstdint>

constexpr int32_t StateTitleMenu = 0;
constexpr int32_t StatePlaying = 1;
constexpr int32_t StateTopFive = 2;
constexpr int32_t StateInitials = 3;
constexpr int32_t StatePaused = 4;

extern int32_t GameState;
extern int32_t PausedState;     // where a pause returns to
extern uint32_t LastFrameTime;  // clock of the last frame that counted time
extern uint32_t FallTimer;      // ms towards the next timed fall (or static burst)
extern uint32_t GhostTimer;     // ms gathered towards the next blink of the ghost tetrad
extern bool GhostVisible;
extern uint32_t InterferenceTimer;  // ms of play since the interference was last rolled for
extern uint32_t LockPauseStart;     // clock of the last lock; 0 when no lock pause runs
extern bool BoardNeedsClearing;     // a game ended: the next Play starts on an empty board
extern bool RepaintPending;         // surfaces were restored: the title menu repaints once
extern bool GameActive;             // frames run only while the window is active

// The chance of interference is rolled once per 10 ms of play, not once per frame, so the frame
// rate does not change how often the preview fills with noise. The rolls due now: the rest of
// 10 ms carries over, a long stall (the sparks, the lock pause) is not made up.
uint32_t InterferenceRollsDue();
