// icon_cursor.h -- the executable's icon (16, 32 and 48 pixels, 256 colours) and its
// monochrome 32 x 32 arrow cursor with the hot spot at 0, 0.
#pragma once

#include <cstdint>
#include <vector>

#include "image.h"

// The icon artwork at one size with its transparency (true = opaque).
Image MakeIconImage(int size, std::vector<bool>& opaque);

std::vector<uint8_t> MakeIconFile();    // .ico with the 32, 16 and 48 pixel images, in this order
std::vector<uint8_t> MakeCursorFile();  // .cur
