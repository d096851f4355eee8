// playfield.h -- drawing of the play screen: board, ghost, falling tetrad, preview, counters.
#pragma once

#include <cstdint>

#include "common/result_codes.h"
#include "drawing/colours.h"

// Composes the board and preview and puts them on the screen; 0 or the failed board blit's code.
ResultCode DrawPlayScreen();
void ClearBoardSurface();
ResultCode BlitBoardToScreen();
ResultCode BlitNextPieceToScreen();

// GDI text at a game-area position on the primary surface; TransparentBackground for none.
void DrawScreenText(int32_t x, int32_t y, const char* text, Colour textColour, Colour backgroundColour);
