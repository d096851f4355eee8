// The mixer: volumes as DirectSound takes them; voices that end, loop, convert, resample and scale;
// the sum clipped; and the music ring between its writer and its reader.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "core/audio/mixer.h"
#include "core/audio/music_ring.h"
#include "test_support.h"

namespace {

std::vector<uint8_t> Le16(std::initializer_list<int> samples)
{
    std::vector<uint8_t> bytes;
    for (int sample : samples) {
        bytes.push_back(static_cast<uint8_t>(sample));
        bytes.push_back(static_cast<uint8_t>(sample >> 8));
    }
    return bytes;
}

}  // namespace

TEST(Mixer, VolumesAreHundredthsOfADecibelOutOfRangeOnesAreRefusedAndTheSumIsClipped)
{
    const struct {
        int32_t volume;
        bool taken;
        double gain;
    } cases[] = {{0, true, 1.0}, {-500, true, 0.56234}, {-600, true, 0.50119}, {-2000, true, 0.1},
        {-10000, true, 0.00001}, {1, false, 0}, {-10001, false, 0}};
    for (const auto& c : cases) {
        int32_t gain = 12345;
        EXPECT_EQ(GainOfVolume(c.volume, gain), c.taken) << c.volume;
        EXPECT_NEAR(gain, c.taken ? c.gain * UnityGain : 12345, 1) << c.volume;
    }
    const int32_t sum[] = {40000, -40000, 32767, -32768, 5};
    int16_t out[5];
    ClipToPcm16(sum, out, 5);
    EXPECT_EQ(std::vector<int16_t>(out, out + 5), (std::vector<int16_t>{32767, -32768, 32767, -32768, 5}));
}

// Each row: a stored effect, whether it loops, its gain, and the stereo sum of its first device
// frames; after them, whether it still plays and where it stands (in whole source frames).
TEST(Mixer, VoicesPlayOnceOrLoopInEveryFormatTheDeviceTakes)
{
    const struct {
        const char* what;
        uint16_t bits, channels;
        uint32_t rate;
        std::vector<uint8_t> pcm;
        bool looping;
        int32_t gain;
        std::vector<int32_t> sum;
        bool playing;
        uint32_t position;
    } cases[] = {
        {"mono once, then stopped and back at the start", 16, 1, 44100, Le16({1000, -2000}), false, UnityGain,
            {1000, 1000, -2000, -2000, 0, 0}, false, 0},
        {"stereo looping", 16, 2, 44100, Le16({1, 2, 3, 4}), true, UnityGain, {1, 2, 3, 4, 1, 2}, true, 1},
        {"8 bits, unsigned around 128", 8, 1, 44100, {128, 255, 0}, false, UnityGain,
            {0, 0, 32512, 32512, -32768, -32768}, false, 0},
        {"half the rate, once: the last frame is held, not joined to the first", 16, 1, 22050, Le16({0, 1000}), false,
            UnityGain, {0, 0, 500, 500, 1000, 1000, 1000, 1000, 0, 0}, false, 0},
        {"half the rate, looping: the last frame runs into the first", 16, 1, 22050, Le16({0, 1000}), true, UnityGain,
            {0, 0, 500, 500, 1000, 1000, 500, 500, 0, 0}, true, 0},
        {"half the gain", 16, 2, 44100, Le16({30000, -30000}), false, UnityGain / 2, {15000, -15000}, false, 0},
    };
    for (const auto& c : cases) {
        EffectFrames effect;
        ASSERT_TRUE(MakeEffectFrames({1, c.channels, c.rate, 0, 0, c.bits}, c.pcm, effect)) << c.what;
        Voice voice;
        voice.playing = true;
        voice.looping = c.looping;
        voice.gain = c.gain;
        std::vector<int32_t> sum(c.sum.size());
        MixVoice(effect, voice, sum.data(), static_cast<uint32_t>(sum.size() / 2));
        EXPECT_EQ(sum, c.sum) << c.what;
        EXPECT_EQ(voice.playing, c.playing) << c.what;
        EXPECT_EQ(voice.position >> 32, c.position) << c.what;
    }
    // What a DirectSound buffer refuses: 24 bits, three channels, rates out of range, no whole frame.
    const WaveFormat refused[] = {{1, 1, 44100, 0, 0, 24}, {1, 3, 44100, 0, 0, 16}, {1, 1, 99, 0, 0, 16},
        {1, 1, 200001, 0, 0, 16}, {1, 2, 44100, 0, 0, 16}};
    for (const WaveFormat& format : refused) {
        EffectFrames effect;
        EXPECT_FALSE(MakeEffectFrames(format, {1, 2, 3}, effect)) << format.channels << " " << format.bitsPerSample;
    }
}

// A writer thread keeps the lead while the reader takes pieces of every size: the reader gets the
// written stream in order, across the ring's end many times, and never more than was written (a
// writer that wrote over unread music, or a reader that passed it, breaks the order). The stream
// skips 0, which the reader could not tell from a frame not there.
TEST(MusicRing, TheReaderGetsTheWrittenStreamInOrderFromAnotherThread)
{
    MusicRing ring;
    ASSERT_TRUE(ring.Allocate());
    std::atomic<bool> done{false};
    std::thread writer([&ring, &done] {
        int16_t next = 0;
        while (!done.load()) {
            for (uint32_t missing = ring.ChunksWanted(); missing > 0; --missing) {
                int16_t* chunk = reinterpret_cast<int16_t*>(ring.NextChunk());
                for (uint32_t i = 0; i < MusicChunkSize / 2; ++i) {
                    chunk[i] = next = static_cast<int16_t>(next == -1 ? 1 : next + 1);
                }
                ring.Publish();
            }
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    });
    std::vector<int32_t> sum(2 * 4000);
    int16_t expected = 0;
    uint64_t frames = 0;
    for (uint32_t piece = 1; frames < 20ull * MusicChunkSize / 4; piece = piece % 3990 + 7) {
        std::fill(sum.begin(), sum.end(), -99999);
        ring.Mix(UnityGain, sum.data(), piece);
        for (uint32_t i = 0; i < 2 * piece && sum[i] != -99999; ++i, frames += i % 2) {
            expected = static_cast<int16_t>(expected == -1 ? 1 : expected + 1);
            ASSERT_EQ(sum[i] + 99999, expected) << frames;
        }
    }
    done.store(true);
    writer.join();
}
