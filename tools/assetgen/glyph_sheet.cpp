// glyph_sheet.cpp -- draws the printable characters into the cells the game reads them from.
#include "glyph_sheet.h"

#include <string>

#include "core/display/glyph_sheet.h"
#include "pixel_font.h"

namespace {
// Twice the pixel font: capitals 14 pixels high, about the height of the Windows system font.
constexpr int Scale = 2;
// One blank row above the capitals, as the system font has.
constexpr int TopMargin = 1;
}  // namespace

Image MakeGlyphSheet()
{
    Image sheet(GlyphSheetWidth, GlyphSheetHeight);
    const Rgb white = MakeRgb(255, 255, 255);
    for (int glyph = 0; glyph < GlyphCount; ++glyph) {
        const char c = static_cast<char>(GlyphFirst + glyph);
        const int left = glyph % GlyphColumns * GlyphCellWidth;
        const int top = glyph / GlyphColumns * GlyphCellHeight;
        // DEL has no picture: it is drawn as '?', like every character the font lacks.
        const std::string text(1, c == '\x7f' ? '?' : c);
        DrawText(sheet, left, top + TopMargin, text, white, Scale);
        const int advance = (GlyphWidth(text[0]) + 1) * Scale;
        FillRect(sheet, left, top + GlyphLineHeight, advance, 1, white);
    }
    return sheet;
}
