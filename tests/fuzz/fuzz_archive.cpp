// Feeds arbitrary bytes to the archive reader as a file, then looks entries up and reads them
// as bitmaps and WAVs the way the game does. Must never crash, leak or read out of bounds.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/archive/resource_archive.h"
#include "core/audio/wave_file.h"
#include "core/display/bitmap_file.h"
#include "ports/message_box.h"

void ShowMessageBox(const char*, const char*)
{
}

namespace {

const char* const InputPath = "fuzz-input.vbf";
constexpr size_t MaxEntriesRead = 4;

bool WriteInput(const uint8_t* data, size_t size)
{
    std::FILE* file = std::fopen(InputPath, "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

// Each read gets a fresh reader: a short read would leave a shared one failed for the rest.
void ReadEntryEveryWay(const std::string& name)
{
    ResourceArchive asBitmap;
    if (asBitmap.Open(InputPath)) {
        StoredBitmap bitmap;
        ReadStoredBitmap(asBitmap, name.c_str(), bitmap);
        asBitmap.Close();
    }
    ResourceArchive asWave;
    if (asWave.Open(InputPath)) {
        StoredWave wave;
        ReadStoredWave(asWave, name.c_str(), wave);
        asWave.Close();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!WriteInput(data, size)) {
        return 0;
    }
    ResourceArchive archive;
    if (!archive.Open(InputPath)) {
        return 0;
    }
    archive.FindEntry("block1.bmp");
    archive.FindEntry("ROTATE.WAV");
    std::string names[MaxEntriesRead];
    size_t count = 0;
    for (const ArchiveEntry& entry : archive.Entries()) {
        if (count == MaxEntriesRead) {
            break;
        }
        names[count++] = std::string(entry.name, strnlen(entry.name, ArchiveNameSize));
    }
    archive.Close();
    for (size_t i = 0; i < count; ++i) {
        ReadEntryEveryWay(names[i]);
    }
    return 0;
}
