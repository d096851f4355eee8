// text.h -- the game's texts in its own bitmap font, read from the glyph sheet of "graphics.vbf".
#pragma once

#include <cstdint>

#include "ports/drawing.h"

// Reads the font from the open DataArchive; without it texts are left out.
void LoadFont();
void ReleaseFont();

// Text with its top-left corner at game-area (x, y), on a box of the background colour as large as
// the text unless that is TransparentBackground.
void DrawTextOnScreen(int32_t x, int32_t y, const char* text, Colour textColour, Colour backgroundColour);
