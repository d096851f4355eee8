// play_screen.h -- the play screen's decisions, the same on every back end: the ghost's blink and
// landing place, the counter lines and the roll for interference.
#pragma once

#include "core/game/board.h"

// Flips GhostVisible once more than 75 ms have gathered in GhostTimer, which starts again.
void AdvanceGhostBlink();

// Where `tetrad` would land; true when that is far enough below it for the ghost to be drawn.
bool GhostLandingPlace(const Tetrad& tetrad, Tetrad& ghost);

// "Score", "Level" and "Lines", white on black beside the board; clears CountersDirty.
void DrawCounters();

// Rolls for the interference due since the last roll and starts "static.wav" on a hit.
void RollForInterference();
