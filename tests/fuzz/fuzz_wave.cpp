// Feeds arbitrary bytes to the WAV parser as a stored effect. Must never crash, leak, read out
// of bounds, or keep more samples than the entry holds.
#include <cstdlib>

#include "core/audio/wave_file.h"
#include "entry_archive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ResourceArchive archive;
    if (!OpenEntryArchive(archive, "rotate.wav", data, size)) {
        return 0;
    }
    StoredWave wave;
    if (ReadStoredWave(archive, "ROTATE.WAV", wave) &&
        (wave.format.formatTag != WaveFormatPcm || wave.pcm.size() + WaveHeaderSize > size)) {
        std::abort();
    }
    archive.Close();
    return 0;
}
