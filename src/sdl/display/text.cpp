// text.cpp -- texts drawn glyph by glyph: the Windows build's strings, places and colours, in a
// font of the game's own instead of the system's.
#include "sdl/display/text.h"

#include "core/archive/resource_archive.h"
#include "core/display/bitmap_file.h"
#include "core/display/glyph_sheet.h"
#include "core/log/debug_log.h"
#include "core/shell/screen.h"
#include "sdl/display/display.h"

namespace {

GlyphSheet Font;

void DrawGlyph(int glyph, int32_t left, int32_t top, Uint32 pixel)
{
    for (int y = 0; y < GlyphLineHeight; ++y) {
        for (int x = 0; x < Font.advance[glyph]; ++x) {
            const int32_t px = left + x;
            const int32_t py = top + y;
            if (Font.Ink(glyph, x, y) && px >= 0 && py >= 0 && px < Screen->w && py < Screen->h) {
                *reinterpret_cast<Uint32*>(static_cast<uint8_t*>(Screen->pixels) + py * Screen->pitch + px * 4) = pixel;
            }
        }
    }
}

}  // namespace

void LoadFont()
{
    WriteDebugLog(GlyphSheetName);
    StoredBitmap bitmap;
    if (ReadStoredBitmap(DataArchive, GlyphSheetName, bitmap)) {
        ReadGlyphSheet(bitmap, Font);
    }
}

void ReleaseFont()
{
    Font = GlyphSheet();
}

void DrawTextOnScreen(int32_t x, int32_t y, const char* text, Colour textColour, Colour backgroundColour)
{
    if (Screen == nullptr || text == nullptr || !Font.Loaded()) {
        return;
    }
    const SDL_Rect box = {x, y, TextWidth(Font, text), GlyphLineHeight};
    if (backgroundColour != TransparentBackground) {
        FillScreen(box, backgroundColour);
    }
    const Uint32 pixel = ScreenColour(textColour);
    int32_t left = x;
    for (const char* c = text; *c != '\0'; ++c) {
        const int glyph = GlyphIndex(*c);
        DrawGlyph(glyph, left, y, pixel);
        left += Font.advance[glyph];
    }
    MarkChanged(box);
}

void DrawScreenText(int32_t x, int32_t y, const char* text, Colour textColour, Colour backgroundColour)
{
    DrawTextOnScreen(ScreenOffset.x + x, ScreenOffset.y + y, text, textColour, backgroundColour);
}

// The box is the text's own size, so (640 - width) / 2 centres it, rounded towards zero as on Windows.
void DrawCenteredText(const char* text, int32_t top, Colour textColour, Colour backgroundColour)
{
    if (text == nullptr || text[0] == '\0' || !Font.Loaded()) {
        return;
    }
    const int32_t left = (GameAreaWidth - TextWidth(Font, text)) / 2;
    DrawTextOnScreen(ScreenOffset.x + left, ScreenOffset.y + top, text, textColour, backgroundColour);
}
