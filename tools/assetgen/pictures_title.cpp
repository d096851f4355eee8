// pictures_title.cpp -- the title screen and its three menu buttons.
#include <string>

#include "pictures.h"
#include "pixel_font.h"
#include "theme.h"

namespace {

constexpr int Cell = 24;

struct PileCell {
    int col, row, colour;
};

// A settled heap of pieces in the lower left, the game's promise in one look.
const PileCell Pile[] = {
    {0, 4, 3}, {1, 4, 3}, {2, 4, 3}, {3, 4, 3},      // I
    {4, 3, 1}, {5, 3, 1}, {4, 4, 1}, {5, 4, 1},      // O
    {6, 4, 6}, {7, 4, 6}, {8, 4, 6}, {8, 3, 6},      // L
    {9, 4, 2}, {10, 4, 2}, {10, 3, 2}, {11, 3, 2},   // S
    {11, 4, 4}, {12, 4, 4}, {13, 4, 4}, {13, 3, 4},  // J
    {0, 2, 0}, {1, 2, 0}, {1, 3, 0}, {2, 3, 0},      // Z
    {2, 2, 5}, {3, 2, 5}, {4, 2, 5}, {3, 3, 5},      // T
    {12, 0, 3}, {12, 1, 3}, {12, 2, 3}, {12, 3, 3},  // I standing
};
// The falling T and where it will land.
const PileCell Falling[] = {{5, -3, 5}, {6, -3, 5}, {7, -3, 5}, {6, -2, 5}};
const PileCell Landing[] = {{5, 2, 5}, {6, 2, 5}, {7, 2, 5}, {6, 3, 5}};
constexpr int PileX = 36, PileY = 336;

// The name, one bevelled block per font pixel, each letter in a piece colour.
void DrawTitle(Image& img, int y, int cell)
{
    const std::string name = "QUADRONE";
    const int width = TextWidth(name, cell);
    int penX = (img.width - width) / 2;
    Glow(img, img.width / 2.0f, y + 3.5f * cell, width * 0.62f, Rgb{80, 60, 170}, 0.55f);
    for (size_t i = 0; i < name.size(); ++i) {
        const Rgb base = theme::BlockColours[(i * 3) % 7];
        const int w = GlyphWidth(name[i]);
        for (int row = 0; row < FontCapHeight; ++row) {
            for (int col = 0; col < w; ++col) {
                if (!GlyphPixel(name[i], col, row)) {
                    continue;
                }
                const int px = penX + col * cell, py = y + row * cell;
                BlendRect(img, px + 3, py + 4, cell, cell, theme::Shadow, 0.7f);
            }
        }
        for (int row = 0; row < FontCapHeight; ++row) {
            for (int col = 0; col < w; ++col) {
                if (!GlyphPixel(name[i], col, row)) {
                    continue;
                }
                const int px = penX + col * cell, py = y + row * cell;
                // Lighter towards the top of the letter, as if lit from above.
                const Rgb face = Shade(base, 1.18f - 0.05f * row);
                VerticalGradient(img, px, py, cell, cell, Shade(face, 1.08f), Shade(face, 0.9f));
                BevelFrame(img, px, py, cell, cell, 2, Shade(face, 1.55f), Shade(face, 0.5f));
                img.Set(px + 3, py + 3, Shade(face, 1.8f));
            }
        }
        penX += (w + 1) * cell;
    }
}

void DrawPile(Image& img)
{
    for (const PileCell& c : Pile) {
        DrawBlockAt(img, PileX + c.col * Cell, PileY + c.row * Cell, c.colour);
    }
    for (const PileCell& c : Landing) {
        Blit(img, MakeGhostBlock(c.colour), PileX + c.col * Cell, PileY + c.row * Cell);
    }
    for (const PileCell& c : Falling) {
        DrawBlockAt(img, PileX + c.col * Cell, PileY + c.row * Cell, c.colour);
    }
    // Motion streaks above the falling piece.
    for (int i = 0; i < 3; ++i) {
        const int x = PileX + (5 + i) * Cell + 12;
        for (int d = 0; d < 30; ++d) {
            img.Blend(x, PileY - 3 * Cell - 4 - d, theme::BlockColours[5], 0.5f * (1.0f - d / 30.0f));
        }
    }
    // A steel ledge for the heap to rest on.
    const int ledgeY = PileY + 5 * Cell;
    VerticalGradient(img, PileX - 8, ledgeY, 14 * Cell + 16, 6, theme::SteelLight, theme::SteelDark);
}

Rgb ButtonTop(int state)
{
    return state == 1 ? Rgb{84, 136, 228} : state == 2 ? Rgb{22, 34, 92} : Rgb{62, 92, 178};
}
Rgb ButtonBottom(int state)
{
    return state == 1 ? Rgb{40, 72, 164} : state == 2 ? Rgb{40, 60, 140} : Rgb{28, 42, 110};
}

}  // namespace

Image MakeButton(const std::string& label, int state)
{
    const int width = label == "Scores" ? 180 : 120;
    const int height = 44;
    Image img(width, height, Rgb{0, 0, 0});
    OutlineRect(img, 0, 0, width, height, Rgb{6, 8, 20});
    VerticalGradient(img, 1, 1, width - 2, height - 2, ButtonTop(state), ButtonBottom(state));
    if (state != 2) {
        BlendRect(img, 4, 4, width - 8, height / 2 - 4, Rgb{255, 255, 255}, 0.1f);  // gloss
    }
    const Rgb rim = state == 1 ? theme::Accent : Rgb{150, 176, 240};
    BevelFrame(img, 1, 1, width - 2, height - 2, 3, rim, Rgb{12, 16, 46}, state == 2);
    if (state == 2) {
        BlendRect(img, 4, 4, width - 8, 3, Rgb{0, 0, 0}, 0.35f);  // inner shadow of the pushed key
    }

    const int scale = 3;
    const int shift = state == 2 ? 2 : 0;
    const int tx = (width - TextWidth(label, scale)) / 2 + shift;
    const int ty = (height - FontCapHeight * scale) / 2 + shift - (label == "Play" ? 1 : 0);
    const Rgb ink = state == 1 ? theme::Gold : state == 2 ? Rgb{190, 230, 255} : theme::Text;
    DrawShadowText(img, tx, ty, label, ink, Rgb{8, 10, 30}, scale);
    if (state == 1) {
        const std::string marker(1, GlyphRightArrow);
        DrawText(img, 10, (height - FontCapHeight * 2) / 2, marker, theme::Gold, 2);
    }
    return img;
}

Image MakeTitleScreen()
{
    Image img(640, 480);
    DrawSky(img, 5);
    DrawTitle(img, 40, 10);
    DrawCentredText(img, img.width / 2, 128, "a falling-block puzzle", theme::TextDim, theme::Shadow, 2);
    // A calm plate behind the buttons (Play 470,180; Scores 410,260; Quit 470,338).
    FillRoundRect(img, 394, 164, 214, 236, 10.0f, Rgb{6, 8, 24}, 0.55f);
    FillRoundRect(img, 394, 164, 214, 1, 0.5f, theme::Steel, 0.8f);
    FillRect(img, 404, 163, 194, 1, Shade(theme::Steel, 1.2f));
    FillRect(img, 404, 400, 194, 1, Shade(theme::Steel, 0.6f));
    DrawPile(img);
    DrawCentredText(img, 501, 414, "F1 during play", theme::TextDim, theme::Shadow, 1);
    DrawCentredText(img, 501, 426, "shows the controls", theme::TextDim, theme::Shadow, 1);
    return img;
}
