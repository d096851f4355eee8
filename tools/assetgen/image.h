// image.h -- an RGB picture and the drawing primitives every picture family uses.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

Rgb MakeRgb(int r, int g, int b);  // clamps each channel to 0..255
Rgb Mix(Rgb a, Rgb b, float t);    // t = 0 gives a, 1 gives b
Rgb Shade(Rgb c, float factor);    // factor < 1 darkens, > 1 lightens towards white
float Luma(Rgb c);

struct Image {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;  // top-down rows

    Image() = default;
    Image(int w, int h, Rgb fill = Rgb());
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    Rgb Get(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    void Set(int x, int y, Rgb c)
    {
        if (Inside(x, y))
            pixels[static_cast<size_t>(y) * width + x] = c;
    }
    void Blend(int x, int y, Rgb c, float alpha);
};

void FillRect(Image& img, int x, int y, int w, int h, Rgb c);
void BlendRect(Image& img, int x, int y, int w, int h, Rgb c, float alpha);
void VerticalGradient(Image& img, int x, int y, int w, int h, Rgb top, Rgb bottom);
// A raised (or, when sunken, pushed-in) bevelled edge of the given thickness.
void BevelFrame(Image& img, int x, int y, int w, int h, int thickness, Rgb light, Rgb dark, bool sunken = false);
void OutlineRect(Image& img, int x, int y, int w, int h, Rgb c);
void DrawLine(Image& img, float x0, float y0, float x1, float y1, Rgb c, float alpha = 1.0f);
// Anti-aliased filled disc and a soft radial glow.
void FillDisc(Image& img, float cx, float cy, float radius, Rgb c, float alpha = 1.0f);
void Glow(Image& img, float cx, float cy, float radius, Rgb c, float strength);
// Rounded rectangle filled with c, anti-aliased corners.
void FillRoundRect(Image& img, int x, int y, int w, int h, float radius, Rgb c, float alpha = 1.0f);
void Blit(Image& dst, const Image& src, int x, int y);
// Copy a rectangle of src (sx, sy, w, h) to dst at (x, y).
void BlitPart(Image& dst, const Image& src, int sx, int sy, int w, int h, int x, int y);
Image Crop(const Image& src, int x, int y, int w, int h);
