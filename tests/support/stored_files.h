// stored_files.h -- bitmaps and waves assembled byte by byte, the way the archives store them.
#pragma once

#include <cstdint>
#include <vector>

#include "hand_archive.h"

// A bottom-up BI_RGB bitmap with a 40-byte info header; pixels top row first as 0x00RRGGBB
// (16-bit pixels keep the top five bits of each channel).
Bytes MakeBitmap(int32_t width, int32_t height, const std::vector<uint32_t>& pixels, int bitCount = 24);

// Channels of 0 or 255 only, so that every bit depth and every conversion keeps them exactly.
std::vector<uint32_t> PatternPixels(int32_t width, int32_t height, uint32_t seed);

// Canonical 44-byte header, 16-bit stereo at 22050 Hz, over `dataSize` bytes that count up.
Bytes MakeWave(uint32_t dataSize);
