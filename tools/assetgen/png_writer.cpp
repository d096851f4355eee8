// png_writer.cpp -- a small PNG encoder over zlib, choosing a row filter per row.
#include "png_writer.h"

#include <zlib.h>

#include <cstdlib>
#include <string>

namespace {

void PutBig32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int s = 24; s >= 0; s -= 8) {
        out.push_back(static_cast<uint8_t>(v >> s));
    }
}

void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data)
{
    PutBig32(out, static_cast<uint32_t>(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const uLong crc = crc32(0L, out.data() + start, static_cast<uInt>(out.size() - start));
    PutBig32(out, static_cast<uint32_t>(crc));
}

int Paeth(int a, int b, int c)
{
    const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

// Filters one row all five ways and keeps the one with the smallest absolute sum,
// the usual cheap guess at what deflate will like best.
void FilterRow(const uint8_t* row, const uint8_t* prev, size_t n, size_t bpp, std::vector<uint8_t>& out)
{
    std::vector<uint8_t> best, trial(n);
    long bestScore = -1;
    for (int type = 0; type < 5; ++type) {
        long score = 0;
        for (size_t i = 0; i < n; ++i) {
            const int a = i >= bpp ? row[i - bpp] : 0, b = prev ? prev[i] : 0;
            const int c = (prev && i >= bpp) ? prev[i - bpp] : 0;
            const int pred = type == 0 ? 0 : type == 1 ? a : type == 2 ? b : type == 3 ? (a + b) / 2 : Paeth(a, b, c);
            trial[i] = static_cast<uint8_t>(row[i] - pred);
            score += trial[i] < 128 ? trial[i] : 256 - trial[i];
        }
        if (bestScore < 0 || score < bestScore) {
            bestScore = score;
            best = trial;
            best.insert(best.begin(), static_cast<uint8_t>(type));
        }
    }
    out.insert(out.end(), best.begin(), best.end());
}

// With a mask, each pixel carries a fourth byte: fully opaque or fully clear.
std::vector<uint8_t> Encode(const Image& img, const std::vector<bool>* opaque)
{
    const size_t bpp = opaque != nullptr ? 4 : 3;
    const size_t rowBytes = static_cast<size_t>(img.width) * bpp;
    std::vector<uint8_t> raw, filtered, previous;
    filtered.reserve((rowBytes + 1) * img.height);
    for (int y = 0; y < img.height; ++y) {
        raw.clear();
        for (int x = 0; x < img.width; ++x) {
            const Rgb c = img.Get(x, y);
            raw.insert(raw.end(), {c.r, c.g, c.b});
            if (opaque != nullptr) {
                raw.push_back((*opaque)[static_cast<size_t>(y) * img.width + x] ? 255 : 0);
            }
        }
        FilterRow(raw.data(), y ? previous.data() : nullptr, rowBytes, bpp, filtered);
        previous = raw;
    }
    uLongf packedSize = compressBound(static_cast<uLong>(filtered.size()));
    std::vector<uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, filtered.data(), static_cast<uLong>(filtered.size()), 6) != Z_OK) {
        return {};
    }
    packed.resize(packedSize);

    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    PutBig32(header, static_cast<uint32_t>(img.width));
    PutBig32(header, static_cast<uint32_t>(img.height));
    // 8 bits, truecolour (6: with alpha), deflate, adaptive filter, no interlace
    const uint8_t colourType = opaque != nullptr ? 6 : 2;
    header.insert(header.end(), {8, colourType, 0, 0, 0});
    PutChunk(out, "IHDR", header);
    PutChunk(out, "IDAT", packed);
    PutChunk(out, "IEND", {});
    return out;
}

}  // namespace

std::vector<uint8_t> EncodePng(const Image& img)
{
    return Encode(img, nullptr);
}

std::vector<uint8_t> EncodePng(const Image& img, const std::vector<bool>& opaque)
{
    return Encode(img, &opaque);
}
