// bmp_writer.h -- 24-bit bottom-up Windows bitmaps with the 40-byte info header.
#pragma once

#include <cstdint>
#include <vector>

#include "image.h"

std::vector<uint8_t> EncodeBmp24(const Image& img);
