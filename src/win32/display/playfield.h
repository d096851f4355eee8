// playfield.h -- the steps of the play screen, composed on the board and preview surfaces.
#pragma once

#include "core/game/board.h"

void DrawBoardCells();
// In the ghost's pictures or the blocks'; cells off the board are left out.
void DrawTetrad(const Tetrad& tetrad, bool ghost);
void DrawNextTetrad();
