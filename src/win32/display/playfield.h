// playfield.h -- the steps of the play screen, composed on the board and preview surfaces.
#pragma once

void DrawBoardCells();
void DrawGhostTetrad();
void DrawCurrentTetrad();
void DrawNextTetrad();
