// contact_sheet.cpp -- lays the pictures out with their entry names under them.
#include "contact_sheet.h"

#include <algorithm>
#include <map>

#include "pixel_font.h"

namespace {

constexpr int Margin = 16;
constexpr int LabelGap = 14;
const Rgb SheetColour{28, 28, 36};
const Rgb LabelColour{200, 204, 220};

Image Zoom(const Image& src, int factor)
{
    Image out(src.width * factor, src.height * factor);
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) {
            out.Set(x, y, src.Get(x / factor, y / factor));
        }
    }
    return out;
}

// Places one picture with its label; returns its right edge.
int Place(Image& sheet, const Image& img, const std::string& label, int x, int y)
{
    OutlineRect(sheet, x - 1, y - 1, img.width + 2, img.height + 2, Rgb{70, 70, 90});
    Blit(sheet, img, x, y);
    DrawText(sheet, x, y + img.height + 4, label, LabelColour, 1);
    return x + std::max(img.width, TextWidth(label));
}

}  // namespace

Image MakeContactSheet(const std::vector<Picture>& pictures)
{
    std::map<std::string, const Image*> byName;
    for (const Picture& p : pictures) {
        byName[p.name] = &p.image;
    }
    auto get = [&](const std::string& n) -> const Image& { return *byName.at(n); };

    Image sheet(2 * 640 + 3 * Margin, 1090, SheetColour);
    int y = Margin;
    Place(sheet, get("titlescreen.bmp"), "titlescreen.bmp", Margin, y);
    Place(sheet, get("background.bmp"), "background.bmp", 2 * Margin + 640, y);

    y += 480 + LabelGap + Margin;
    Place(sheet, get("controls.bmp"), "controls.bmp", Margin, y);
    const int plateX = 2 * Margin + 480;
    Place(sheet, get("topscores.bmp"), "topscores.bmp", plateX, y);
    const int buttonsX = plateX + 172 + Margin;
    const char* buttons[3] = {"play", "scores", "quit"};
    for (int b = 0; b < 3; ++b) {
        int x = buttonsX;
        for (int s = 1; s <= 3; ++s) {
            const std::string name = std::string(buttons[b]) + "-" + std::to_string(s) + ".bmp";
            x = Place(sheet, get(name), name, x, y + b * (44 + LabelGap + 10)) + 10;
        }
    }
    // Static pictures are shown as a corner each: whole, they are just noise.
    const int staticY = y + 3 * (44 + LabelGap + 10) + 6;
    Place(sheet, Crop(get("static1.bmp"), 0, 0, 200, 100), "static1.bmp (corner)", plateX, staticY);
    Place(sheet, Crop(get("static2.bmp"), 0, 0, 200, 100), "static2.bmp (corner)", plateX + 200 + Margin, staticY);

    y += 360 + LabelGap + Margin;
    int x = Margin;
    for (int i = 1; i <= 7; ++i) {
        const std::string n = "block" + std::to_string(i);
        Place(sheet, Zoom(get(n + ".bmp"), 2), n, x, y);
        Place(sheet, Zoom(get(n + "-ghost.bmp"), 2), n + "-ghost", x, y + 48 + LabelGap + 6);
        x += 48 + 40;
    }
    for (int i = 1; i <= 3; ++i) {
        const std::string n = "spark" + std::to_string(i);
        Place(sheet, Zoom(get(n + ".bmp"), 2), n, x, y);
        x += 48 + 24;
    }
    DrawText(sheet, x + 8, y + 4, "Blocks, ghosts and sparks at twice their size.", LabelColour, 1);
    return sheet;
}
