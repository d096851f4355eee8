// pixel_font.h -- the game's own bitmap font: 5 x 7 capitals and digits, lower case with descenders.
#pragma once

#include <string>

#include "image.h"

// Characters beyond ASCII that the pictures need.
constexpr char GlyphLeftArrow = '\x01';
constexpr char GlyphRightArrow = '\x02';
constexpr char GlyphDownArrow = '\x03';

constexpr int FontCapHeight = 7;   // rows above the baseline
constexpr int FontLineHeight = 9;  // with descenders

// Whether glyph pixel (col, row) of c is set; false outside the glyph.
bool GlyphPixel(char c, int col, int row);
int GlyphWidth(char c);

// Width in pixels of text at the given scale (one font pixel = scale x scale).
int TextWidth(const std::string& text, int scale = 1);

// Draws text with its cap top at (x, y); returns the width drawn.
int DrawText(Image& img, int x, int y, const std::string& text, Rgb colour, int scale = 1);
// Text with a one-font-pixel drop shadow below right.
int DrawShadowText(Image& img, int x, int y, const std::string& text, Rgb colour, Rgb shadow, int scale = 1);
// Text centred on cx.
void DrawCentredText(Image& img, int cx, int y, const std::string& text, Rgb colour, Rgb shadow, int scale = 1);
