// png_writer.h -- truecolour PNG output for the contact sheet and the desktop icon.
#pragma once

#include <cstdint>
#include <vector>

#include "image.h"

// Empty when compression fails.
std::vector<uint8_t> EncodePng(const Image& img);
// With an alpha channel: clear where opaque (one flag a pixel, rows top-down) is false.
std::vector<uint8_t> EncodePng(const Image& img, const std::vector<bool>& opaque);
