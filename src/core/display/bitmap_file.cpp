// bitmap_file.cpp -- parses the stored bitmaps of the graphics archive.
#include "core/display/bitmap_file.h"

#include "core/archive/resource_archive.h"
#include "core/log/debug_log.h"

namespace {

constexpr uint32_t BiRgb = 0;

uint16_t Get16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint32_t Get32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

// GDI gets only this header and one spare colour entry, so anything that
// would make it look for a colour table, masks or a longer header is refused,
// as is a size the entry cannot hold.
bool IsSupportedLayout(const StoredBitmap& bmp, uint32_t entryOffset, uint32_t entrySize)
{
    const uint8_t* h = bmp.infoHeader;
    const uint32_t headerSize = Get32(h);
    const uint16_t planes = Get16(h + 12);
    const uint32_t compression = Get32(h + 16);
    const uint32_t coloursUsed = Get32(h + 32);
    if (headerSize != BitmapInfoHeaderSize || planes != 1 || compression != BiRgb || coloursUsed != 0) {
        return false;
    }
    if (bmp.bitCount != 16 && bmp.bitCount != 24 && bmp.bitCount != 32) {
        return false;
    }
    if (bmp.width <= 0 || bmp.height <= 0) {
        return false;
    }
    const uint32_t headersEnd = BitmapFileHeaderSize + BitmapInfoHeaderSize;
    if (bmp.offBits < headersEnd || bmp.offBits > entrySize) {
        return false;
    }
    if (static_cast<uint64_t>(entryOffset) + bmp.offBits > UINT32_MAX) {
        return false;
    }
    const uint64_t pixelBytes = BitmapRowStride(bmp.width, bmp.bitCount) * static_cast<uint64_t>(bmp.height);
    return pixelBytes <= entrySize - bmp.offBits;
}

}  // namespace

uint64_t BitmapRowStride(int64_t width, int bitCount)
{
    return (static_cast<uint64_t>(width) * static_cast<uint64_t>(bitCount) + 31) / 32 * 4;
}

bool ReadStoredBitmap(ResourceArchive& archive, const char* name, StoredBitmap& out)
{
    out = StoredBitmap();
    const ArchiveEntry* entry = archive.FindEntry(name);
    if (!entry) {
        WriteDebugLog("Error finding file in VBF");
        return false;
    }
    const uint32_t entryOffset = entry->offset;
    const uint32_t entrySize = entry->size;
    archive.Seek(entryOffset);
    if (archive.Failed()) {
        WriteDebugLog("Error seeking in VBF file");
        return false;
    }
    uint8_t fileHeader[BitmapFileHeaderSize];
    archive.Read(fileHeader, sizeof fileHeader);
    if (archive.Failed()) {
        WriteDebugLog("Failed reading bitmap file header");
        return false;
    }
    out.type = Get16(fileHeader);
    out.offBits = Get32(fileHeader + 10);
    if (out.type != BitmapMagic) {
        WriteDebugLog("Invalid bitmap file header");
        return false;
    }
    archive.Read(out.infoHeader, sizeof out.infoHeader);
    if (archive.Failed()) {
        WriteDebugLog("Failed reading bitmap info header");
        return false;
    }
    out.width = static_cast<int32_t>(Get32(out.infoHeader + 4));
    out.height = static_cast<int32_t>(Get32(out.infoHeader + 8));
    out.bitCount = Get16(out.infoHeader + 14);
    if (!IsSupportedLayout(out, entryOffset, entrySize)) {
        WriteDebugLog("Invalid bitmap file header");
        return false;
    }
    const uint64_t pixelBytes = BitmapRowStride(out.width, out.bitCount) * static_cast<uint64_t>(out.height);
    archive.Seek(entryOffset + out.offBits);
    if (archive.Failed() || !archive.ReadPieces(out.pixels, pixelBytes)) {
        WriteDebugLog("Error reading bitmap color data");
        out.pixels.clear();
        out.pixels.shrink_to_fit();
        return false;
    }
    WriteDebugLog("Bitmap loaded");
    return true;
}
