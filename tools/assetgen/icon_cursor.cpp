// icon_cursor.cpp -- four bevelled blocks as the icon, a home-made arrow as the cursor.
#include "icon_cursor.h"

#include <algorithm>
#include <map>
#include <tuple>

#include "byte_writer.h"
#include "theme.h"

namespace {

constexpr int CursorSize = 32;

int MaskStride(int width)
{
    return (width + 31) / 32 * 4;
}
int IndexStride(int width)
{
    return (width + 3) / 4 * 4;
}

void PutInfoHeader(ByteWriter& out, int width, int height, int bits, uint32_t imageBytes)
{
    out.U32(40);
    out.U32(static_cast<uint32_t>(width));
    out.U32(static_cast<uint32_t>(height * 2));  // colour rows and mask rows together
    out.U16(1);
    out.U16(static_cast<uint16_t>(bits));
    out.U32(0);
    out.U32(imageBytes);
    out.U32(0);
    out.U32(0);
    out.U32(0);
    out.U32(0);
}

void PutMask(ByteWriter& out, int width, int height, const std::vector<bool>& set)
{
    for (int y = height - 1; y >= 0; --y) {
        for (int b = 0; b < MaskStride(width); ++b) {
            uint8_t bits = 0;
            for (int k = 0; k < 8; ++k) {
                const int x = b * 8 + k;
                if (x < width && set[static_cast<size_t>(y) * width + x]) {
                    bits |= static_cast<uint8_t>(0x80 >> k);
                }
            }
            out.U8(bits);
        }
    }
}

// Palette of the image's own colours, or a colour cube when there are too many.
std::vector<Rgb> MakePalette(const Image& img)
{
    std::map<std::tuple<int, int, int>, int> seen;
    for (const Rgb& c : img.pixels) {
        seen[{c.r, c.g, c.b}] = 0;
    }
    std::vector<Rgb> palette = {Rgb{0, 0, 0}};
    if (seen.size() < 256) {
        for (const auto& entry : seen) {
            palette.push_back(MakeRgb(std::get<0>(entry.first), std::get<1>(entry.first), std::get<2>(entry.first)));
        }
    } else {
        for (int r = 0; r < 6; ++r) {
            for (int g = 0; g < 7; ++g) {
                for (int b = 0; b < 6; ++b) {
                    palette.push_back(MakeRgb(r * 51, g * 42, b * 51));
                }
            }
        }
    }
    palette.resize(256);
    return palette;
}

uint8_t Nearest(const std::vector<Rgb>& palette, Rgb c)
{
    int best = 0, bestDistance = 1 << 30;
    for (int i = 0; i < 256; ++i) {
        const int dr = palette[i].r - c.r, dg = palette[i].g - c.g, db = palette[i].b - c.b;
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return static_cast<uint8_t>(best);
}

std::vector<uint8_t> EncodeIconImage(int size)
{
    std::vector<bool> opaque;
    const Image img = MakeIconImage(size, opaque);
    const std::vector<Rgb> palette = MakePalette(img);
    std::vector<bool> transparent(opaque.size());
    for (size_t i = 0; i < opaque.size(); ++i) {
        transparent[i] = !opaque[i];
    }
    const uint32_t imageBytes = static_cast<uint32_t>((IndexStride(size) + MaskStride(size)) * size);
    ByteWriter out;
    PutInfoHeader(out, size, size, 8, imageBytes);
    for (const Rgb& c : palette) {
        out.U8(c.b);
        out.U8(c.g);
        out.U8(c.r);
        out.U8(0);
    }
    for (int y = size - 1; y >= 0; --y) {
        for (int x = 0; x < size; ++x) {
            out.U8(opaque[static_cast<size_t>(y) * size + x] ? Nearest(palette, img.Get(x, y)) : 0);
        }
        for (int x = size; x < IndexStride(size); ++x) {
            out.U8(0);
        }
    }
    PutMask(out, size, size, transparent);
    return out.Take();
}

// Whether the arrow outline contains point (x, y); the tip is at the origin.
bool InArrow(float x, float y)
{
    static const float vx[] = {0.0f, 0.0f, 4.6f, 8.2f, 11.0f, 7.6f, 12.8f};
    static const float vy[] = {0.0f, 17.6f, 13.8f, 21.0f, 19.8f, 12.6f, 12.6f};
    bool inside = false;
    for (int i = 0, j = 6; i < 7; j = i++) {
        if ((vy[i] > y) != (vy[j] > y) && x < (vx[j] - vx[i]) * (y - vy[i]) / (vy[j] - vy[i]) + vx[i]) {
            inside = !inside;
        }
    }
    return inside;
}

}  // namespace

Image MakeIconImage(int size, std::vector<bool>& opaque)
{
    Image img(size, size);
    opaque.assign(static_cast<size_t>(size) * size, false);
    const int margin = std::max(1, size / 16);
    const int gap = std::max(1, size / 24);
    const int block = (size - 2 * margin - gap) / 2;
    const int bevel = std::max(1, block / 7);
    const int colours[4] = {0, 1, 3, 5};
    for (int k = 0; k < 4; ++k) {
        const int x = margin + (k % 2) * (block + gap), y = margin + (k / 2) * (block + gap);
        const Rgb base = theme::BlockColours[colours[k]];
        VerticalGradient(img, x, y, block, block, Shade(base, 1.1f), Shade(base, 0.85f));
        BevelFrame(img, x, y, block, block, bevel, Shade(base, 1.5f), Shade(base, 0.45f));
        OutlineRect(img, x, y, block, block, Shade(base, 0.3f));
        for (int j = 0; j < block; ++j) {
            for (int i = 0; i < block; ++i) {
                opaque[static_cast<size_t>(y + j) * size + x + i] = true;
            }
        }
    }
    return img;
}

std::vector<uint8_t> MakeIconFile()
{
    const int sizes[3] = {32, 16, 48};
    std::vector<std::vector<uint8_t>> images;
    for (int s : sizes) {
        images.push_back(EncodeIconImage(s));
    }
    ByteWriter out;
    out.U16(0);
    out.U16(1);  // icon
    out.U16(3);
    uint32_t offset = 6 + 16 * 3;
    for (int i = 0; i < 3; ++i) {
        out.U8(static_cast<uint8_t>(sizes[i]));
        out.U8(static_cast<uint8_t>(sizes[i]));
        out.U8(0);  // 256 colours
        out.U8(0);
        out.U16(1);
        out.U16(8);
        out.U32(static_cast<uint32_t>(images[i].size()));
        out.U32(offset);
        offset += static_cast<uint32_t>(images[i].size());
    }
    for (const auto& image : images) {
        out.Append(image);
    }
    return out.Take();
}

std::vector<uint8_t> MakeCursorFile()
{
    // Sample each pixel 4 x 4 times: any sample inside makes it part of the arrow.
    std::vector<bool> arrow(CursorSize * CursorSize, false);
    for (int y = 0; y < CursorSize; ++y) {
        for (int x = 0; x < CursorSize; ++x) {
            for (int s = 0; s < 16 && !arrow[y * CursorSize + x]; ++s) {
                arrow[y * CursorSize + x] = InArrow(x + (s % 4 + 0.5f) / 4, y + (s / 4 + 0.5f) / 4);
            }
        }
    }
    // Black rim wherever the arrow meets the outside, white within.
    std::vector<bool> white(arrow.size(), false), transparent(arrow.size(), true);
    auto in = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < CursorSize && y < CursorSize && arrow[y * CursorSize + x];
    };
    for (int y = 0; y < CursorSize; ++y) {
        for (int x = 0; x < CursorSize; ++x) {
            if (!in(x, y)) {
                continue;
            }
            transparent[y * CursorSize + x] = false;
            bool rim = false;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    rim = rim || !in(x + dx, y + dy);
                }
            }
            white[y * CursorSize + x] = !rim;
        }
    }
    const uint32_t imageBytes = static_cast<uint32_t>(2 * MaskStride(CursorSize) * CursorSize);
    ByteWriter image;
    PutInfoHeader(image, CursorSize, CursorSize, 1, imageBytes);
    image.U32(0x00000000);  // colour 0 black
    image.U32(0x00FFFFFF);  // colour 1 white
    PutMask(image, CursorSize, CursorSize, white);
    PutMask(image, CursorSize, CursorSize, transparent);
    const std::vector<uint8_t> bytes = image.Take();

    ByteWriter out;
    out.U16(0);
    out.U16(2);  // cursor
    out.U16(1);
    out.U8(CursorSize);
    out.U8(CursorSize);
    out.U8(2);
    out.U8(0);
    out.U16(0);  // hot spot x
    out.U16(0);  // hot spot y
    out.U32(static_cast<uint32_t>(bytes.size()));
    out.U32(6 + 16);
    out.Append(bytes);
    return out.Take();
}
