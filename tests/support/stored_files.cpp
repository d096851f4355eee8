// stored_files.cpp -- bitmaps and waves assembled byte by byte for the loader tests.
#include "stored_files.h"

#include <cstring>

Bytes MakeBitmap(int32_t width, int32_t height, const std::vector<uint32_t>& pixels, int bitCount)
{
    const size_t stride = (static_cast<size_t>(width) * bitCount + 31) / 32 * 4;
    Bytes bytes(54 + stride * height, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    PutLe32(bytes, 2, static_cast<uint32_t>(bytes.size()));
    PutLe32(bytes, 10, 54);
    PutLe32(bytes, 14, 40);
    PutLe32(bytes, 18, static_cast<uint32_t>(width));
    PutLe32(bytes, 22, static_cast<uint32_t>(height));
    PutLe16(bytes, 26, 1);
    PutLe16(bytes, 28, static_cast<uint32_t>(bitCount));
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const size_t at = 54 + stride * (height - 1 - y) + static_cast<size_t>(x) * (bitCount / 8);
            const uint32_t rgb = pixels[static_cast<size_t>(y) * width + x];
            const uint32_t r = rgb >> 16 & 0xFF, g = rgb >> 8 & 0xFF, b = rgb & 0xFF;
            if (bitCount == 16) {
                PutLe16(bytes, at, (r >> 3) << 10 | (g >> 3) << 5 | b >> 3);
            } else {
                bytes[at] = static_cast<uint8_t>(b);
                bytes[at + 1] = static_cast<uint8_t>(g);
                bytes[at + 2] = static_cast<uint8_t>(r);
            }
        }
    }
    return bytes;
}

std::vector<uint32_t> PatternPixels(int32_t width, int32_t height, uint32_t seed)
{
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    uint32_t state = seed;
    for (uint32_t& pixel : pixels) {
        state = state * 1103515245u + 12345u;
        const uint32_t bits = state >> 16;
        pixel = (bits & 1 ? 0xFF0000 : 0) | (bits & 2 ? 0x00FF00 : 0) | (bits & 4 ? 0x0000FF : 0);
    }
    return pixels;
}

Bytes MakeWave(uint32_t dataSize)
{
    Bytes bytes(44 + dataSize);
    std::memcpy(&bytes[0], "RIFF", 4);
    PutLe32(bytes, 4, static_cast<uint32_t>(bytes.size() - 8));
    std::memcpy(&bytes[8], "WAVEfmt ", 8);
    PutLe32(bytes, 16, 16);
    PutLe16(bytes, 20, 1);
    PutLe16(bytes, 22, 2);
    PutLe32(bytes, 24, 22050);
    PutLe32(bytes, 28, 88200);
    PutLe16(bytes, 32, 4);
    PutLe16(bytes, 34, 16);
    std::memcpy(&bytes[36], "data", 4);
    PutLe32(bytes, 40, dataSize);
    for (size_t i = 44; i < bytes.size(); ++i) {
        bytes[i] = static_cast<uint8_t>(i * 13);
    }
    return bytes;
}
