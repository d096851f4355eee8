// game_state.h -- the game's shared state as a new game has it, for tests of the game code.
#pragma once

#include "core/game/board.h"
#include "core/game/frame_state.h"
#include "core/game/high_scores.h"
#include "core/game/keyboard.h"

// A new game's board (the square falling, the S next), counters, timers, flags and keys.
inline void ResetGameState()
{
    ClearBoard();
    InitTetradTable();
    SetCurrentTetrad(1);
    SetNextTetrad(2);
    NextKind = 2;
    Score = Lines = 0;
    Level = 1;
    FallSpeed = 10;
    GameState = StateTitleMenu;
    LastFrameTime = FallTimer = GhostTimer = InterferenceTimer = LockPauseStart = 0;
    BoardNeedsClearing = RepaintPending = CountersDirty = InitialsActive = PromptDirty = false;
    Initials[0] = '\0';
    for (KeyState& state : KeyStates) {
        state = {false, 0, 0};
    }
}
