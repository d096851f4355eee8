// pictures_effects.cpp -- spark pictures and television-noise pictures.
#include <algorithm>
#include <cmath>

#include "pictures.h"
#include "rng.h"
#include "theme.h"

namespace {

constexpr int SparkSize = 24;
constexpr float Pi = 3.14159265f;

// Brightness of a star with `points` rays at (dx, dy) from its centre.
float StarIntensity(float dx, float dy, int points, float rayLength, float coreRadius, float twist)
{
    const float r = std::hypot(dx, dy);
    const float angle = std::atan2(dy, dx) + twist;
    const float core = std::clamp(1.0f - r / coreRadius, 0.0f, 1.0f);
    // Rays: narrow angular lobes that fade with distance.
    const float lobe = std::pow(std::fabs(std::cos(angle * points * 0.5f)), 24.0f);
    const float ray = lobe * std::clamp(1.0f - r / rayLength, 0.0f, 1.0f);
    const float halo = 0.35f * std::clamp(1.0f - r / (coreRadius * 2.6f), 0.0f, 1.0f);
    return std::clamp(core * 1.2f + ray + halo * halo * 2.0f, 0.0f, 1.0f);
}

Rgb SparkColour(float intensity, Rgb tint)
{
    // Hot centre goes white, the fringe keeps the tint.
    const Rgb c = Mix(tint, Rgb{255, 255, 255}, std::clamp((intensity - 0.5f) * 2.0f, 0.0f, 1.0f));
    return Shade(c, std::min(1.0f, intensity * 1.3f));
}

// Pixels too dark to see would only fray the transparent edge: make them black.
void ClearDimPixels(Image& img)
{
    for (Rgb& p : img.pixels) {
        if (std::max({p.r, p.g, p.b}) < 14) {
            p = Rgb{0, 0, 0};
        }
    }
}

}  // namespace

Image MakeSpark(int index)
{
    Image img(SparkSize, SparkSize);
    const float c = SparkSize / 2.0f;
    if (index == 2) {
        // A scatter of embers around a small hot core.
        Rng rng(77);
        for (int i = 0; i < 9; ++i) {
            const float a = rng.Unit() * 2 * Pi, d = 3.0f + rng.Unit() * 5.5f;
            const Rgb ember = Mix(Rgb{255, 150, 40}, Rgb{255, 240, 160}, rng.Unit());
            FillDisc(img, c + std::cos(a) * d, c + std::sin(a) * d, 0.7f + rng.Unit() * 0.9f, ember);
        }
    }
    const int points = index == 1 ? 8 : 4;
    const float twist = index == 1 ? Pi / 8 : 0.0f;
    const Rgb tint = index == 0 ? Rgb{255, 214, 90} : index == 1 ? Rgb{110, 220, 255} : Rgb{255, 170, 60};
    const float rayLength = index == 2 ? 8.0f : 10.5f;  // fades out before the cell's edge
    for (int y = 0; y < SparkSize; ++y) {
        for (int x = 0; x < SparkSize; ++x) {
            const float v =
                StarIntensity(x + 0.5f - c, y + 0.5f - c, points, rayLength, index == 2 ? 2.5f : 3.2f, twist);
            if (v <= 0.0f) {
                continue;
            }
            const Rgb s = SparkColour(v, tint);
            Rgb& p = img.pixels[static_cast<size_t>(y) * SparkSize + x];
            p = MakeRgb(std::max<int>(p.r, s.r), std::max<int>(p.g, s.g), std::max<int>(p.b, s.b));
        }
    }
    ClearDimPixels(img);
    return img;
}

Image MakeStatic(int variant)
{
    Image img(640, 480);
    Rng rng(variant == 0 ? 1234 : 5678);
    // Slow rolling bands, like a receiver losing its lock.
    for (int y = 0; y < img.height; ++y) {
        const float band = 0.82f + 0.18f * std::sin(y * 0.045f + variant * 1.7f) + (rng.Below(40) == 0 ? 0.25f : 0.0f);
        const float scan = (y & 1) ? 0.78f : 1.0f;
        for (int x = 0; x < img.width; ++x) {
            float v = rng.Unit();
            v = v * v * 255.0f * band * scan;  // mostly dark grains with bright specks
            Rgb p;
            if (variant == 0) {
                p = MakeRgb(static_cast<int>(v * 0.92f), static_cast<int>(v * 0.96f), static_cast<int>(v));
            } else {
                p = MakeRgb(static_cast<int>(v * 0.55f), static_cast<int>(v * 0.95f), static_cast<int>(v * 0.8f));
            }
            img.Set(x, y, p);
        }
    }
    return img;
}
