// glyph_sheet.h -- the SDL build's font: the game's pixel font at twice its size, as one picture.
#pragma once

#include "image.h"

// White glyphs on black in the cells of core/display/glyph_sheet.h, each advance bar drawn under its cell.
Image MakeGlyphSheet();
