// png_writer.h -- truecolour PNG output for the contact sheet.
#pragma once

#include <cstdint>
#include <vector>

#include "image.h"

std::vector<uint8_t> EncodePng(const Image& img);
