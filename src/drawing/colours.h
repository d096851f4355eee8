// colours.h -- COLORREF values (0x00BBGGRR) of the game's texts.
#pragma once

#include <cstdint>

using Colour = uint32_t;

constexpr Colour White = 0xFFFFFF;
constexpr Colour Black = 0x000000;
constexpr Colour Yellow = 0x00FFFF;
constexpr Colour HeadingRed = 0x1E1E96;     // red 150, green 30, blue 30
constexpr Colour TransparentBackground = 0xFFFFFFFF;
