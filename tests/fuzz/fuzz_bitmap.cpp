// Feeds arbitrary bytes to the bitmap parser as a stored picture. Must never crash, leak, read
// out of bounds, or keep more pixels than the entry holds.
#include <cstdlib>

#include "core/display/bitmap_file.h"
#include "entry_archive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ResourceArchive archive;
    if (!OpenEntryArchive(archive, "block1.bmp", data, size)) {
        return 0;
    }
    StoredBitmap bitmap;
    if (ReadStoredBitmap(archive, "BLOCK1.BMP", bitmap) &&
        (bitmap.pixels.size() > size ||
            bitmap.pixels.size() != BitmapRowStride(bitmap.width, bitmap.bitCount) * bitmap.height)) {
        std::abort();
    }
    archive.Close();
    return 0;
}
