// pictures_screens.cpp -- the play-screen background, the controls picture and the score plate.
#include <string>

#include "pictures.h"
#include "pixel_font.h"
#include "theme.h"

namespace {

// Board, preview box and counter panel, where the game draws over the background.
constexpr int BoardX = 200, BoardY = 48, BoardW = 240, BoardH = 384;
constexpr int NextX = 49, NextY = 180, NextSize = 120;
constexpr int PanelX = 465, PanelY = 190, PanelW = 169, PanelH = 100;

// "QUADRONE" built from small bevelled cells, one per font pixel, cycling the piece colours.
void DrawBlockLogo(Image& img, int x, int y, int cell)
{
    const std::string name = "QUADRONE";
    int penX = x;
    for (size_t i = 0; i < name.size(); ++i) {
        const Rgb base = theme::BlockColours[i % 7];
        const int w = GlyphWidth(name[i]);
        for (int row = 0; row < FontCapHeight; ++row) {
            for (int col = 0; col < w; ++col) {
                if (!GlyphPixel(name[i], col, row)) {
                    continue;
                }
                const int px = penX + col * cell, py = y + row * cell;
                FillRect(img, px + 1, py + 1, cell, cell, theme::Shadow);
                FillRect(img, px, py, cell, cell, base);
                FillRect(img, px, py, cell, 1, Shade(base, 1.5f));
                FillRect(img, px, py, 1, cell, Shade(base, 1.5f));
                FillRect(img, px, py + cell - 1, cell, 1, Shade(base, 0.55f));
                FillRect(img, px + cell - 1, py, 1, cell, Shade(base, 0.55f));
            }
        }
        penX += (w + 1) * cell;
    }
}

void DrawLabel(Image& img, int cx, int y, const std::string& text)
{
    DrawCentredText(img, cx, y, text, theme::Text, theme::Shadow, 2);
    const int w = TextWidth(text, 2);
    FillRect(img, cx - w / 2, y + 17, w, 1, theme::Accent);
}

}  // namespace

Image MakeBackground()
{
    Image img(640, 480);
    DrawSky(img, 11);
    DrawBlockLogo(img, NextX + NextSize / 2 - 70, 40, 3);
    DrawCentredText(img, NextX + NextSize / 2, 70, "falling blocks", theme::TextDim, theme::Shadow, 1);

    DrawLabel(img, NextX + NextSize / 2, NextY - 34, "NEXT");
    DrawPanel(img, NextX, NextY, NextSize, NextSize);

    DrawPanel(img, BoardX, BoardY, BoardW, BoardH);

    DrawLabel(img, PanelX + PanelW / 2, PanelY - 34, "STATUS");
    DrawPanel(img, PanelX, PanelY, PanelW, PanelH);

    // Dim plates keep the small print clear of the stars, as on the title screen.
    FillRoundRect(img, NextX - 8, 326, NextSize + 16, 140, 8.0f, Rgb{6, 8, 24}, 0.5f);
    FillRoundRect(img, PanelX - 6, 314, PanelW + 6, 70, 8.0f, Rgb{6, 8, 24}, 0.5f);

    // Left column: the keys worth remembering while playing.
    DrawLabel(img, NextX + NextSize / 2, 336, "KEYS");
    const char* keys[3][2] = {{"F1", "Help"}, {"M", "Music"}, {"F6", "Window"}};
    for (int i = 0; i < 3; ++i) {
        const int y = 364 + i * 34;
        DrawKeyCap(img, NextX, y, 40, keys[i][0]);
        DrawShadowText(img, NextX + 50, y + 6, keys[i][1], theme::Text, theme::Shadow, 2);
    }

    // Right column: how the game goes on, and the seven pieces' colours.
    DrawShadowText(img, PanelX + 4, 324, "Fill a row", theme::TextDim, theme::Shadow, 1);
    DrawShadowText(img, PanelX + 4, 338, "to clear it.", theme::TextDim, theme::Shadow, 1);
    DrawShadowText(img, PanelX + 4, 356, "Every 10 lines", theme::TextDim, theme::Shadow, 1);
    DrawShadowText(img, PanelX + 4, 370, "the pace rises.", theme::TextDim, theme::Shadow, 1);
    for (int i = 0; i < 7; ++i) {
        DrawBlockAt(img, PanelX + i * 24, 408, i);
    }
    return img;
}

Image MakeControls()
{
    Image img(480, 360);
    VerticalGradient(img, 0, 0, img.width, img.height, Rgb{26, 30, 62}, Rgb{14, 14, 34});
    BevelFrame(img, 0, 0, img.width, img.height, 4, theme::SteelLight, theme::SteelDark);
    OutlineRect(img, 6, 6, img.width - 12, img.height - 12, Shade(theme::Steel, 0.8f));
    DrawCentredText(img, img.width / 2, 18, "CONTROLS", theme::Gold, theme::Shadow, 3);
    FillRect(img, 40, 50, img.width - 80, 1, theme::Accent);
    FillRect(img, 40, 51, img.width - 80, 1, Shade(theme::Accent, 0.4f));

    struct Row {
        std::vector<std::string> keys;
        const char* text;
    };
    const Row rows[] = {
        {{std::string(1, GlyphLeftArrow), std::string(1, GlyphRightArrow)}, "Move"},
        {{std::string(1, GlyphDownArrow)}, "Drop faster"},
        {{"Space"}, "Rotate"},
        {{"F1"}, "Pause / this help"},
        {{"Esc", "Q", "F2"}, "Back to menu"},
        {{"M"}, "Music on / off"},
        {{"F6"}, "Window / full screen"},
    };
    int y = 62;
    for (const Row& row : rows) {
        int x = 36;
        for (const std::string& key : row.keys) {
            const int w = std::max(30, TextWidth(key, 2) + 16);
            DrawKeyCap(img, x, y, w, key);
            x += w + 6;
        }
        DrawShadowText(img, 190, y + 6, row.text, theme::Text, theme::Shadow, 2);
        y += 36;
    }
    FillRect(img, 40, y + 2, img.width - 80, 1, Shade(theme::Accent, 0.4f));
    DrawCentredText(img, img.width / 2, y + 12, "Click or press Esc to resume", theme::TextDim, theme::Shadow, 1);
    return img;
}

Image MakeTopScores()
{
    // Drawn at (234, 136); the game writes its heading and rows on top.
    Image img(172, 153);
    VerticalGradient(img, 0, 0, img.width, img.height, Rgb{22, 26, 56}, Rgb{12, 12, 30});
    BevelFrame(img, 0, 0, img.width, img.height, 3, theme::SteelLight, theme::SteelDark);
    // Heading band in the very red of the game's heading box, so the box melts into it.
    FillRect(img, 3, 13, img.width - 6, 28, theme::HeadingRed);
    FillRect(img, 3, 13, img.width - 6, 1, Shade(theme::HeadingRed, 1.4f));
    FillRect(img, 3, 40, img.width - 6, 1, Shade(theme::HeadingRed, 0.5f));
    // Row stripes behind names (x 21) and scores (x 111), rows 15 pixels apart from y 59.
    for (int i = 0; i < 5; ++i) {
        const int y = 57 + i * 15;
        if (i % 2 == 0) {
            BlendRect(img, 6, y, img.width - 12, 15, Rgb{70, 80, 140}, 0.22f);
        }
        DrawText(img, 8, y + 4, std::to_string(i + 1), theme::TextDim, 1);
    }
    FillRect(img, 104, 55, 1, 77, Shade(theme::Steel, 0.7f));
    for (int i = 0; i < 7; ++i) {
        const Rgb c = theme::BlockColours[i];
        FillRect(img, 30 + i * 16, 140, 10, 5, c);
        FillRect(img, 30 + i * 16, 140, 10, 1, Shade(c, 1.5f));
    }
    return img;
}
