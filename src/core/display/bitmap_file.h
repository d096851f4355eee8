// bitmap_file.h -- reads one stored Windows bitmap out of an open archive.
#pragma once

#include <cstdint>
#include <vector>

class ResourceArchive;

constexpr int BitmapFileHeaderSize = 14;
constexpr int BitmapInfoHeaderSize = 40;
constexpr uint16_t BitmapMagic = 0x4D42;  // "BM"

// What the loaders need of a stored bitmap: the file-header fields they use,
// the info header exactly as read (GDI gets it unchanged) and the pixel rows.
struct StoredBitmap {
    uint16_t type = 0;
    uint32_t offBits = 0;
    uint8_t infoHeader[BitmapInfoHeaderSize] = {};
    int32_t width = 0;
    int32_t height = 0;
    uint16_t bitCount = 0;
    std::vector<uint8_t> pixels;  // bottom-up rows of BitmapRowStride bytes
};

// Bytes in one pixel row, padded to a multiple of four.
uint64_t BitmapRowStride(int64_t width, int bitCount);

// Reads entry `name` of the open archive into `out`. Logs the reason and
// answers false for a missing entry, a failed archive or a damaged or
// unsupported bitmap; logs "Bitmap loaded" and answers true otherwise.
bool ReadStoredBitmap(ResourceArchive& archive, const char* name, StoredBitmap& out);
