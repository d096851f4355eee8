// png_writer.h -- truecolour PNG output for the contact sheet.
#pragma once

#include <cstdint>
#include <vector>

#include "image.h"

// Empty when compression fails.
std::vector<uint8_t> EncodePng(const Image& img);
