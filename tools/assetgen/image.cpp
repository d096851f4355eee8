// image.cpp -- drawing primitives on RGB pictures.
#include "image.h"

#include <algorithm>
#include <cmath>

namespace {

uint8_t Clamp8(float v)
{
    if (v <= 0.0f) {
        return 0;
    }
    if (v >= 255.0f) {
        return 255;
    }
    return static_cast<uint8_t>(v + 0.5f);
}

}  // namespace

Rgb MakeRgb(int r, int g, int b)
{
    auto c = [](int v) { return static_cast<uint8_t>(std::clamp(v, 0, 255)); };
    return Rgb{c(r), c(g), c(b)};
}

Rgb Mix(Rgb a, Rgb b, float t)
{
    return Rgb{Clamp8(a.r + (b.r - a.r) * t), Clamp8(a.g + (b.g - a.g) * t), Clamp8(a.b + (b.b - a.b) * t)};
}

Rgb Shade(Rgb c, float factor)
{
    if (factor <= 1.0f) {
        return Rgb{Clamp8(c.r * factor), Clamp8(c.g * factor), Clamp8(c.b * factor)};
    }
    return Mix(c, Rgb{255, 255, 255}, std::min(1.0f, factor - 1.0f));
}

float Luma(Rgb c)
{
    return 0.299f * c.r + 0.587f * c.g + 0.114f * c.b;
}

Image::Image(int w, int h, Rgb fill) : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill)
{
}

void Image::Blend(int x, int y, Rgb c, float alpha)
{
    if (!Inside(x, y) || alpha <= 0.0f) {
        return;
    }
    Rgb& p = pixels[static_cast<size_t>(y) * width + x];
    p = Mix(p, c, std::min(alpha, 1.0f));
}

void FillRect(Image& img, int x, int y, int w, int h, Rgb c)
{
    for (int j = std::max(0, y); j < std::min(img.height, y + h); ++j) {
        for (int i = std::max(0, x); i < std::min(img.width, x + w); ++i) {
            img.Set(i, j, c);
        }
    }
}

void BlendRect(Image& img, int x, int y, int w, int h, Rgb c, float alpha)
{
    for (int j = y; j < y + h; ++j) {
        for (int i = x; i < x + w; ++i) {
            img.Blend(i, j, c, alpha);
        }
    }
}

void VerticalGradient(Image& img, int x, int y, int w, int h, Rgb top, Rgb bottom)
{
    for (int j = 0; j < h; ++j) {
        const Rgb c = Mix(top, bottom, h > 1 ? static_cast<float>(j) / (h - 1) : 0.0f);
        FillRect(img, x, y + j, w, 1, c);
    }
}

void BevelFrame(Image& img, int x, int y, int w, int h, int thickness, Rgb light, Rgb dark, bool sunken)
{
    const Rgb topLeft = sunken ? dark : light;
    const Rgb bottomRight = sunken ? light : dark;
    for (int t = 0; t < thickness; ++t) {
        // Outer rings are slightly stronger than inner ones, which softens the edge.
        const float fade = 1.0f - 0.12f * t;
        const Rgb tl = Mix(Mix(topLeft, bottomRight, 0.5f), topLeft, fade);
        const Rgb br = Mix(Mix(topLeft, bottomRight, 0.5f), bottomRight, fade);
        const int x0 = x + t, y0 = y + t, x1 = x + w - 1 - t, y1 = y + h - 1 - t;
        for (int i = x0; i <= x1; ++i) {
            img.Set(i, y0, tl);
            img.Set(i, y1, br);
        }
        for (int j = y0; j <= y1; ++j) {
            img.Set(x0, j, j == y1 ? br : tl);
            img.Set(x1, j, j == y0 ? tl : br);
        }
    }
}

void OutlineRect(Image& img, int x, int y, int w, int h, Rgb c)
{
    FillRect(img, x, y, w, 1, c);
    FillRect(img, x, y + h - 1, w, 1, c);
    FillRect(img, x, y, 1, h, c);
    FillRect(img, x + w - 1, y, 1, h, c);
}

void DrawLine(Image& img, float x0, float y0, float x1, float y1, Rgb c, float alpha)
{
    const float dx = x1 - x0, dy = y1 - y0;
    const int steps = static_cast<int>(std::ceil(std::max(std::fabs(dx), std::fabs(dy)) * 2.0f)) + 1;
    for (int s = 0; s <= steps; ++s) {
        const float t = static_cast<float>(s) / steps;
        const float px = x0 + dx * t, py = y0 + dy * t;
        // Split the coverage over the four neighbouring pixels.
        const int ix = static_cast<int>(std::floor(px)), iy = static_cast<int>(std::floor(py));
        const float fx = px - ix, fy = py - iy;
        const float a = alpha * 0.5f;
        img.Blend(ix, iy, c, a * (1 - fx) * (1 - fy) * 2);
        img.Blend(ix + 1, iy, c, a * fx * (1 - fy) * 2);
        img.Blend(ix, iy + 1, c, a * (1 - fx) * fy * 2);
        img.Blend(ix + 1, iy + 1, c, a * fx * fy * 2);
    }
}

void FillDisc(Image& img, float cx, float cy, float radius, Rgb c, float alpha)
{
    const int x0 = static_cast<int>(std::floor(cx - radius - 1)), x1 = static_cast<int>(std::ceil(cx + radius + 1));
    const int y0 = static_cast<int>(std::floor(cy - radius - 1)), y1 = static_cast<int>(std::ceil(cy + radius + 1));
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy);
            const float cover = std::clamp(radius - d + 0.5f, 0.0f, 1.0f);
            if (cover > 0.0f) {
                img.Blend(x, y, c, cover * alpha);
            }
        }
    }
}

void Glow(Image& img, float cx, float cy, float radius, Rgb c, float strength)
{
    const int x0 = static_cast<int>(cx - radius), x1 = static_cast<int>(cx + radius) + 1;
    const int y0 = static_cast<int>(cy - radius), y1 = static_cast<int>(cy + radius) + 1;
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy) / radius;
            if (d >= 1.0f) {
                continue;
            }
            const float a = (1.0f - d) * (1.0f - d) * strength;
            img.Blend(x, y, c, a);
        }
    }
}

void FillRoundRect(Image& img, int x, int y, int w, int h, float radius, Rgb c, float alpha)
{
    for (int j = y; j < y + h; ++j) {
        for (int i = x; i < x + w; ++i) {
            // Distance from the pixel centre to the inner rectangle the corners are rounded around.
            const float px = i + 0.5f, py = j + 0.5f;
            const float qx = std::max({x + radius - px, 0.0f, px - (x + w - radius)});
            const float qy = std::max({y + radius - py, 0.0f, py - (y + h - radius)});
            const float d = std::hypot(qx, qy);
            const float cover = std::clamp(radius - d + 0.5f, 0.0f, 1.0f);
            img.Blend(i, j, c, cover * alpha);
        }
    }
}

void Blit(Image& dst, const Image& src, int x, int y)
{
    BlitPart(dst, src, 0, 0, src.width, src.height, x, y);
}

void BlitPart(Image& dst, const Image& src, int sx, int sy, int w, int h, int x, int y)
{
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) {
            if (src.Inside(sx + i, sy + j)) {
                dst.Set(x + i, y + j, src.Get(sx + i, sy + j));
            }
        }
    }
}

Image Crop(const Image& src, int x, int y, int w, int h)
{
    Image out(w, h);
    BlitPart(out, src, x, y, w, h, 0, 0);
    return out;
}
