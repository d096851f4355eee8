// pictures_common.cpp -- the backdrop, frames and key caps that the screen pictures share.
#include <cmath>

#include "pictures.h"
#include "pixel_font.h"
#include "rng.h"
#include "theme.h"

void DrawSky(Image& img, unsigned seed)
{
    VerticalGradient(img, 0, 0, img.width, img.height, theme::SkyTop, theme::SkyBottom);
    Rng rng(seed);
    // Two faint nebulae give the gradient some depth.
    Glow(img, img.width * 0.18f, img.height * 0.78f, 260.0f, Rgb{90, 40, 140}, 0.35f);
    Glow(img, img.width * 0.85f, img.height * 0.2f, 220.0f, Rgb{30, 90, 140}, 0.3f);
    // A faint grid on the board's 24-pixel cell pitch.
    for (int y = 0; y < img.height; y += 24) {
        for (int x = 8; x < img.width; x += 24) {
            img.Blend(x, y, theme::Accent, 0.16f);
        }
    }
    for (int i = 0; i < img.width * img.height / 900; ++i) {
        const int x = rng.Below(img.width), y = rng.Below(img.height);
        const float b = rng.Unit();
        const Rgb star = Mix(Rgb{170, 180, 255}, Rgb{255, 245, 220}, rng.Unit());
        img.Blend(x, y, star, 0.25f + 0.6f * b * b);
        if (b > 0.93f) {  // the odd bright star twinkles
            for (int d = 1; d <= 2; ++d) {
                const float a = 0.45f / d;
                img.Blend(x - d, y, star, a);
                img.Blend(x + d, y, star, a);
                img.Blend(x, y - d, star, a);
                img.Blend(x, y + d, star, a);
            }
        }
    }
}

void DrawPanel(Image& img, int x, int y, int w, int h)
{
    const int t = 6;
    VerticalGradient(img, x - t, y - t, w + 2 * t, h + 2 * t, theme::SteelLight, theme::Steel);
    VerticalGradient(img, x - t + 2, y - t + 2, w + 2 * t - 4, h + 2 * t - 4, theme::Steel, Shade(theme::Steel, 0.7f));
    BevelFrame(img, x - t, y - t, w + 2 * t, h + 2 * t, 2, theme::SteelLight, theme::SteelDark);
    BevelFrame(img, x - 2, y - 2, w + 4, h + 4, 2, Shade(theme::SteelLight, 1.1f), theme::SteelDark, true);
    // Rivets in the corners of the frame.
    const int rx[2] = {x - t / 2, x + w + t / 2 - 1}, ry[2] = {y - t / 2, y + h + t / 2 - 1};
    for (int i = 0; i < 2; ++i) {
        for (int j = 0; j < 2; ++j) {
            img.Set(rx[i], ry[j], theme::SteelLight);
            img.Set(rx[i] + 1, ry[j] + 1, theme::SteelDark);
        }
    }
    FillRect(img, x, y, w, h, Rgb{0, 0, 0});
}

void DrawKeyCap(Image& img, int x, int y, int w, const std::string& label)
{
    const int h = 26;
    FillRoundRect(img, x, y + 2, w, h, 5.0f, Rgb{40, 44, 62});                 // side of the key
    FillRoundRect(img, x, y, w, h - 2, 5.0f, Rgb{150, 158, 184});              // rim
    FillRoundRect(img, x + 2, y + 1, w - 4, h - 6, 4.0f, Rgb{226, 230, 242});  // top face
    BlendRect(img, x + 3, y + h - 9, w - 6, 3, Rgb{170, 176, 198}, 0.5f);
    const int scale = 2;
    const int tw = TextWidth(label, scale);
    DrawText(img, x + (w - tw) / 2, y + (h - 4 - FontCapHeight * scale) / 2, label, Rgb{36, 40, 64}, scale);
}
