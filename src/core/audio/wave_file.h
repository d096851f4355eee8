// wave_file.h -- reads one stored RIFF WAVE effect out of an open archive.
#pragma once

#include <cstdint>
#include <vector>

class ResourceArchive;

constexpr int WaveHeaderSize = 44;
constexpr uint16_t WaveFormatPcm = 1;

// The format handed to the sound device; blockAlign is recomputed, not trusted.
struct WaveFormat {
    uint16_t formatTag = 0;
    uint16_t channels = 0;
    uint32_t samplesPerSec = 0;
    uint32_t avgBytesPerSec = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
};

struct StoredWave {
    WaveFormat format;
    std::vector<uint8_t> pcm;
};

// Reads entry `name` (canonical 44-byte header, PCM) of the open archive.
// Logs the reason and answers false for any refusal; logs nothing on success.
bool ReadStoredWave(ResourceArchive& archive, const char* name, StoredWave& out);
