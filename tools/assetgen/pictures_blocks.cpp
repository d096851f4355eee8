// pictures_blocks.cpp -- the seven bevelled blocks and their ghost twins.
#include <cmath>

#include "pictures.h"
#include "theme.h"

namespace {

constexpr int Cell = 24;

// Each colour carries its own engraved pattern so that pieces differ without hue.
bool PatternPixel(int index, int x, int y)
{
    const int cx = x - 12, cy = y - 12;  // centre of the cell between pixels 11 and 12
    const float fx = x + 0.5f - 12.0f, fy = y + 0.5f - 12.0f;
    switch (index) {
    case 0: return false;
    case 1: {  // diamond outline
        const float d = std::fabs(fx) + std::fabs(fy);
        return d >= 4.0f && d <= 6.0f;
    }
    case 2: {  // two diagonal stripes
        const int d = (x + y) % 12;
        return x >= 5 && x <= 18 && y >= 5 && y <= 18 && (d == 0 || d == 1);
    }
    case 3:  // square ring
        return (std::abs(2 * cx + 1) <= 11 && std::abs(2 * cy + 1) <= 11) &&
               !(std::abs(2 * cx + 1) <= 7 && std::abs(2 * cy + 1) <= 7);
    case 4:  // three horizontal grooves
        return x >= 6 && x <= 17 && (y == 7 || y == 11 || y == 15);
    case 5: {  // four studs
        const float ax = std::fabs(fx) - 3.5f, ay = std::fabs(fy) - 3.5f;
        return ax * ax + ay * ay <= 3.2f;
    }
    case 6:  // cross
        return (std::abs(2 * cx + 1) <= 3 && y >= 6 && y <= 17) || (std::abs(2 * cy + 1) <= 3 && x >= 6 && x <= 17);
    default: return false;
    }
}

}  // namespace

Image MakeBlock(int index)
{
    const Rgb base = theme::BlockColours[index];
    Image img(Cell, Cell);
    VerticalGradient(img, 0, 0, Cell, Cell, Shade(base, 1.12f), Shade(base, 0.86f));
    BevelFrame(img, 1, 1, Cell - 2, Cell - 2, 3, Shade(base, 1.5f), Shade(base, 0.55f));
    OutlineRect(img, 0, 0, Cell, Cell, Shade(base, 0.3f));
    // Engraved pattern: dark groove with a lit lower-right lip.
    for (int y = 0; y < Cell; ++y) {
        for (int x = 0; x < Cell; ++x) {
            if (!PatternPixel(index, x, y)) {
                continue;
            }
            img.Set(x, y, Shade(base, 0.62f));
            if (!PatternPixel(index, x + 1, y + 1)) {
                img.Set(x + 1, y + 1, Shade(base, 1.28f));
            }
        }
    }
    // A small gleam in the lit corner.
    img.Set(4, 4, Shade(base, 1.8f));
    img.Set(5, 4, Shade(base, 1.55f));
    img.Set(4, 5, Shade(base, 1.55f));
    return img;
}

Image MakeGhostBlock(int index)
{
    const Rgb base = theme::BlockColours[index];
    Image img(Cell, Cell, Shade(base, 0.12f));
    OutlineRect(img, 1, 1, Cell - 2, Cell - 2, Shade(base, 0.95f));
    OutlineRect(img, 2, 2, Cell - 4, Cell - 4, Shade(base, 0.55f));
    OutlineRect(img, 3, 3, Cell - 6, Cell - 6, Shade(base, 0.22f));
    for (int y = 0; y < Cell; ++y) {
        for (int x = 0; x < Cell; ++x) {
            if (PatternPixel(index, x, y)) {
                img.Set(x, y, Shade(base, 0.6f));
            }
        }
    }
    return img;
}

void DrawBlockAt(Image& img, int x, int y, int index)
{
    Blit(img, MakeBlock(index), x, y);
}
