// bench_mixer.cpp -- the SDL build's sound in CPU per second of audio: the mixing of the music with
// every voice of the five effects sounding at once (the worst a game can ask), and the decoding of
// the music. Usage: quadrone_mixer_bench GAME_FOLDER [seconds of audio, default 600]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include <vorbis/vorbisfile.h>

#include "core/archive/resource_archive.h"
#include "core/audio/chunk_fill.h"
#include "core/audio/mixer.h"
#include "core/audio/music_ring.h"
#include "core/audio/wave_file.h"

namespace {

constexpr uint32_t BlockFrames = 1024;  // the SDL device's period

struct LoadedEffect {
    EffectFrames frames;
    std::vector<Voice> voices;
};

class VorbisDecoder : public ChunkDecoder {
public:
    explicit VorbisDecoder(OggVorbis_File& file) : file(file) {}
    long Read(uint8_t* destination, uint32_t length) override
    {
        return ov_read(&file, reinterpret_cast<char*>(destination), static_cast<int>(length), 0, 2, 1, &section);
    }
    void SeekToStart() override { ov_pcm_seek(&file, 0); }

private:
    OggVorbis_File& file;
    int section = 0;
};

// Every voice of every effect, looping so that all of them sound all the time.
std::vector<LoadedEffect> LoadEffects(const std::string& folder)
{
    std::vector<LoadedEffect> effects;
    const std::pair<const char*, uint32_t> table[] = {
        {"rotate.wav", 5}, {"zap2.wav", 2}, {"attach.wav", 1}, {"static.wav", 5}, {"static2.wav", 5}};
    if (!DataArchive.Open((folder + "/audio.vbf").c_str())) {
        return effects;
    }
    for (const auto& [name, count] : table) {
        StoredWave wave;
        LoadedEffect effect;
        if (ReadStoredWave(DataArchive, name, wave) && MakeEffectFrames(wave.format, wave.pcm, effect.frames)) {
            effect.voices.resize(count);
            for (Voice& voice : effect.voices) {
                voice.playing = voice.looping = true;
            }
            effects.push_back(std::move(effect));
        }
    }
    DataArchive.Close();
    return effects;
}

double CpuSeconds()
{
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

void Report(const char* what, double cpu, double audioSeconds)
{
    std::printf("%s: %.3f ms of CPU per second of audio (%.3f %% of a core)\n", what, 1000 * cpu / audioSeconds,
        100 * cpu / audioSeconds);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s GAME_FOLDER [seconds]\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    const double seconds = argc > 2 ? std::atof(argv[2]) : 600;
    std::vector<LoadedEffect> effects = LoadEffects(folder);
    OggVorbis_File file;
    if (effects.size() != 5 || ov_fopen((folder + "/loop1.dat").c_str(), &file) != 0) {
        std::fprintf(stderr, "cannot read audio.vbf and loop1.dat in %s\n", folder.c_str());
        return 1;
    }
    VorbisDecoder decoder(file);
    std::vector<uint8_t> chunk(MusicChunkSize);
    const uint32_t chunks = static_cast<uint32_t>(seconds / 10) + 1;
    double start = CpuSeconds();
    for (uint32_t i = 0; i < chunks; ++i) {
        FillChunk(decoder, chunk.data(), MusicChunkSize);
    }
    Report("decoding the music", CpuSeconds() - start, chunks);
    ov_clear(&file);

    // The ring is refilled by copying the last decoded chunk, so only the mixing is timed.
    MusicRing ring;
    ring.Allocate();
    std::vector<int32_t> sum(2 * BlockFrames);
    std::vector<int16_t> out(2 * BlockFrames);
    const uint64_t blocks = static_cast<uint64_t>(seconds * MixRate / BlockFrames);
    double copying = 0;
    start = CpuSeconds();
    for (uint64_t block = 0; block < blocks; ++block) {
        std::fill(sum.begin(), sum.end(), 0);
        if (ring.Mix(UnityGain * 3 / 4, sum.data(), BlockFrames)) {
            const double copyStart = CpuSeconds();
            for (uint32_t missing = ring.ChunksWanted(); missing > 0; --missing) {
                std::copy(chunk.begin(), chunk.end(), ring.NextChunk());
                ring.Publish();
            }
            copying += CpuSeconds() - copyStart;
        }
        for (LoadedEffect& effect : effects) {
            for (Voice& voice : effect.voices) {
                MixVoice(effect.frames, voice, sum.data(), BlockFrames);
            }
        }
        ClipToPcm16(sum.data(), out.data(), 2 * BlockFrames);
    }
    Report("mixing the music and 18 voices", CpuSeconds() - start - copying,
        static_cast<double>(blocks * BlockFrames) / MixRate);
    return out[0] == 12345 ? 3 : 0;  // the output is used, so the mixing is not left out
}
