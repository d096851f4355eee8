// play_screen.h -- the play screen's decisions, the same on every back end: the order it is
// composed in, the ghost's blink and landing place, the counter lines and the roll for interference.
#pragma once

#include "core/common/result_codes.h"
#include "core/game/board.h"

// How a back end draws the play screen's cells on its board and preview surfaces.
struct PlayCellPainter {
    void (*boardCells)();
    void (*tetrad)(const Tetrad& tetrad, bool ghost);
    void (*preview)();  // composes the next tetrad and puts it on the screen
};

// The board with the ghost (while it blinks on) and the falling tetrad, put on the screen; then
// the counters, the roll for interference, and the preview or the noise over it. The failed board
// blit's code, else 0.
ResultCode ComposePlayScreen(const PlayCellPainter& painter);

// Flips GhostVisible once more than 75 ms have gathered in GhostTimer, which starts again.
void AdvanceGhostBlink();

// Where `tetrad` would land; true when that is far enough below it for the ghost to be drawn.
bool GhostLandingPlace(const Tetrad& tetrad, Tetrad& ghost);

// "Score", "Level" and "Lines", white on black beside the board; clears CountersDirty.
void DrawCounters();

// Rolls for the interference due since the last roll and starts "static.wav" on a hit.
void RollForInterference();
