// glyph_sheet.cpp -- reading the font picture: any pixel that is not black is ink, or advance.
#include "core/display/glyph_sheet.h"

#include <cstddef>

#include "core/display/bitmap_file.h"

namespace {

// Pixel (x, y), counted from the top, is not black; rows are stored bottom-up.
bool Lit(const StoredBitmap& bitmap, int x, int y)
{
    const uint64_t stride = BitmapRowStride(bitmap.width, bitmap.bitCount);
    const uint8_t* row = bitmap.pixels.data() + stride * static_cast<uint64_t>(bitmap.height - 1 - y);
    const int bytes = bitmap.bitCount / 8;
    for (int i = 0; i < bytes; ++i) {
        // The fourth byte of a 32-bit pixel is unused.
        if (i < 3 && row[x * bytes + i] != 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool GlyphSheet::Ink(int glyph, int x, int y) const
{
    if (glyph < 0 || glyph >= GlyphCount || x < 0 || x >= GlyphCellWidth || y < 0 || y >= GlyphLineHeight) {
        return false;
    }
    return ink[(static_cast<size_t>(glyph) * GlyphLineHeight + y) * GlyphCellWidth + x] != 0;
}

int GlyphIndex(char c)
{
    const int code = static_cast<unsigned char>(c);
    return code >= GlyphFirst && code < GlyphFirst + GlyphCount ? code - GlyphFirst : '?' - GlyphFirst;
}

bool ReadGlyphSheet(const StoredBitmap& bitmap, GlyphSheet& sheet)
{
    sheet = GlyphSheet();
    if (bitmap.width != GlyphSheetWidth || bitmap.height != GlyphSheetHeight ||
        (bitmap.bitCount != 24 && bitmap.bitCount != 32)) {
        return false;
    }
    sheet.ink.assign(static_cast<size_t>(GlyphCount) * GlyphLineHeight * GlyphCellWidth, 0);
    for (int glyph = 0; glyph < GlyphCount; ++glyph) {
        const int left = glyph % GlyphColumns * GlyphCellWidth;
        const int top = glyph / GlyphColumns * GlyphCellHeight;
        for (int y = 0; y < GlyphLineHeight; ++y) {
            for (int x = 0; x < GlyphCellWidth; ++x) {
                sheet.ink[(static_cast<size_t>(glyph) * GlyphLineHeight + y) * GlyphCellWidth + x] =
                    Lit(bitmap, left + x, top + y) ? 1 : 0;
            }
        }
        int advance = 0;
        while (advance < GlyphCellWidth && Lit(bitmap, left + advance, top + GlyphLineHeight)) {
            ++advance;
        }
        sheet.advance[glyph] = static_cast<uint8_t>(advance);
    }
    return true;
}

int32_t TextWidth(const GlyphSheet& sheet, const char* text)
{
    int32_t width = 0;
    for (const char* c = text; *c != '\0'; ++c) {
        width += sheet.advance[GlyphIndex(*c)];
    }
    return width;
}
