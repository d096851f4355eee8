// theme.h -- the colours every picture shares, so that the screens look like one game.
#pragma once

#include "image.h"

namespace theme {

// Night-sky backdrop.
inline const Rgb SkyTop{12, 14, 38};
inline const Rgb SkyBottom{34, 18, 58};
// Brushed steel of frames and panels.
inline const Rgb Steel{92, 104, 138};
inline const Rgb SteelLight{178, 192, 226};
inline const Rgb SteelDark{30, 34, 54};
inline const Rgb PanelFill{20, 24, 48};
// Accents and text.
inline const Rgb Accent{92, 220, 255};
inline const Rgb Gold{255, 206, 84};
inline const Rgb Text{232, 236, 250};
inline const Rgb TextDim{150, 160, 196};
inline const Rgb Shadow{4, 4, 14};
// The heading box the game paints on the score plate (red 150, green 30, blue 30).
inline const Rgb HeadingRed{150, 30, 30};

// The seven piece colours, spread in brightness as well as hue.
inline const Rgb BlockColours[7] = {
    {222, 52, 52},   // red, plain face
    {252, 208, 44},  // yellow, diamond
    {58, 178, 76},   // green, diagonal stripes
    {70, 214, 232},  // cyan, ring
    {44, 78, 204},   // blue, grooves
    {226, 96, 204},  // magenta, four studs
    {246, 138, 42},  // orange, cross
};

}  // namespace theme
