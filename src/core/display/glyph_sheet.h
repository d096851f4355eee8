// glyph_sheet.h -- a bitmap font as one picture: the printable ASCII characters in cells of one
// size, sixteen to a row, each cell with a bar along its bottom row as long as the character's
// advance. The asset tool draws it; the SDL build writes its texts with it.
#pragma once

#include <cstdint>
#include <vector>

struct StoredBitmap;

constexpr const char* GlyphSheetName = "font.bmp";  // in "graphics.vbf"; the Windows build never reads it
constexpr int GlyphFirst = 32;
constexpr int GlyphCount = 96;  // 32 to 127
constexpr int GlyphColumns = 16;
constexpr int GlyphCellWidth = 16;
constexpr int GlyphCellHeight = 20;
constexpr int GlyphLineHeight = GlyphCellHeight - 1;  // the rows above the advance bar: one line of text
constexpr int GlyphSheetWidth = GlyphColumns * GlyphCellWidth;
constexpr int GlyphSheetHeight = GlyphCount / GlyphColumns * GlyphCellHeight;

struct GlyphSheet {
    uint8_t advance[GlyphCount] = {};
    std::vector<uint8_t> ink;  // per glyph, GlyphLineHeight rows of GlyphCellWidth: 1 where it is drawn

    bool Loaded() const { return !ink.empty(); }
    bool Ink(int glyph, int x, int y) const;
};

// The glyph a character is drawn with; one outside the sheet is drawn as '?'.
int GlyphIndex(char c);

// Reads the sheet from the picture; false (and the sheet left empty) when its size is not the layout's.
bool ReadGlyphSheet(const StoredBitmap& bitmap, GlyphSheet& sheet);

// Width in pixels of the text: the sum of its characters' advances.
int32_t TextWidth(const GlyphSheet& sheet, const char* text);
