// wave_file.cpp -- parses the stored effects of the audio archive.
#include "core/audio/wave_file.h"

#include <cstring>
#include <new>

#include "core/archive/resource_archive.h"
#include "core/log/debug_log.h"

namespace {

uint16_t Get16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint32_t Get32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

bool IsId(const uint8_t* p, const char* id)
{
    return std::memcmp(p, id, 4) == 0;
}

// One header step: read `count` bytes, then check the chunk id if one is given.
bool ReadStep(ResourceArchive& archive, uint8_t* buffer, uint32_t count, const char* readError, const char* id,
    const char* idError)
{
    archive.Read(buffer, count);
    if (archive.Failed()) {
        WriteDebugLog(readError);
        return false;
    }
    if (id && !IsId(buffer, id)) {
        WriteDebugLog(idError);
        return false;
    }
    return true;
}

}  // namespace

bool ReadStoredWave(ResourceArchive& archive, const char* name, StoredWave& out)
{
    out = StoredWave();
    const ArchiveEntry* entry = archive.FindEntry(name);
    if (!entry) {
        WriteDebugLog("Error finding file in VBF");
        return false;
    }
    const uint32_t entrySize = entry->size;
    archive.Seek(entry->offset);
    if (archive.Failed()) {
        WriteDebugLog("Error seeking in VBF file");
        return false;
    }
    uint8_t h[WaveHeaderSize];
    if (!ReadStep(archive, h, 8, "Error reading RIFF header", "RIFF", "RIFF header not found") ||
        !ReadStep(archive, h + 8, 4, "Error reading WAVE ID", "WAVE", "WAVE ID not found") ||
        !ReadStep(archive, h + 12, 8, "Error reading FMT chunk", "fmt ", "fmt header not found") ||
        !ReadStep(archive, h + 20, 14, "Error reading WAVE file format", nullptr, nullptr)) {
        return false;
    }
    WaveFormat& f = out.format;
    f.formatTag = Get16(h + 20);
    if (f.formatTag != WaveFormatPcm) {
        WriteDebugLog("Unknown WAVE file format");
        return false;
    }
    f.channels = Get16(h + 22);
    f.samplesPerSec = Get32(h + 24);
    f.avgBytesPerSec = Get32(h + 28);
    if (!ReadStep(archive, h + 34, 2, "Error reading BPS", nullptr, nullptr)) {
        return false;
    }
    f.bitsPerSample = Get16(h + 34);
    f.blockAlign = static_cast<uint16_t>(uint32_t{f.channels} * f.bitsPerSample / 8);
    if (!ReadStep(archive, h + 36, 8, "Error reading Data header chunk", "data", "data header not found")) {
        return false;
    }
    const uint32_t dataSize = Get32(h + 40);
    // A size the entry cannot supply is damage; refusing it here keeps a
    // lying header from deciding how much memory is taken.
    const bool fits = entrySize >= WaveHeaderSize && dataSize <= entrySize - WaveHeaderSize;
    bool read = false;
    try {
        read = fits && archive.ReadPieces(out.pcm, dataSize);
    } catch (const std::bad_alloc&) {
        // Memory ran out: the effect stays silent, the game goes on.
        WriteDebugLog("NULL wave data");
        out.pcm = std::vector<uint8_t>();
        return false;
    }
    if (!read) {
        WriteDebugLog("Error reading raw wave data");
        out.pcm = std::vector<uint8_t>();
        return false;
    }
    return true;
}
