// The generated data files read back as the game reads them: every picture and effect present in
// a format the game takes, the music decoding to a loop of whole bars that joins without a jump,
// the icon and cursor laid out as resources, and the same bytes on every run.
#include <unistd.h>
#include <vorbis/vorbisfile.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "archive/resource_archive.h"
#include "audio/wave_file.h"
#include "display/bitmap_file.h"
#include "hand_archive.h"
#include "music.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

const char* const OutputFiles[] = {"graphics.vbf", "audio.vbf", "loop1.dat", "quadrone.ico", "quadrone.cur",
                                   "contact-sheet.png"};

fs::path RunGenerator(const fs::path& folder) {
    fs::remove_all(folder);
    const std::string command = std::string("\"") + ASSETGEN_PATH + "\" \"" + folder.string() + "\"";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return folder;
}

// The pictures in the order the game loads them, with their sizes (0: any).
std::vector<std::pair<std::string, int>> ExpectedPictures() {
    std::vector<std::pair<std::string, int>> list = {{"titlescreen.bmp", 640}, {"background.bmp", 640}, {"controls.bmp", 480}};
    for (int i = 1; i <= 7; ++i) {
        list.push_back({"block" + std::to_string(i) + ".bmp", 24});
        list.push_back({"block" + std::to_string(i) + "-ghost.bmp", 24});
    }
    for (int i = 1; i <= 3; ++i) list.push_back({"spark" + std::to_string(i) + ".bmp", 24});
    list.insert(list.end(), {{"topscores.bmp", 172}, {"static1.bmp", 640}, {"static2.bmp", 640}});
    for (const char* button : {"play", "scores", "quit"})
        for (int s = 1; s <= 3; ++s) list.push_back({std::string(button) + "-" + std::to_string(s) + ".bmp", 0});
    return list;
}

// The step between the last sample and the first, against the largest step near the join.
void ExpectSmoothJoin(const std::vector<int16_t>& samples, int channels) {
    const size_t frames = samples.size() / channels;
    for (int channel = 0; channel < channels; ++channel) {
        int nearby = 0;
        for (size_t f = 1; f <= 44; ++f) {
            const size_t head = f * channels + channel, tail = (frames - f) * channels + channel;
            nearby = std::max({nearby, std::abs(samples[head] - samples[head - channels]),
                               std::abs(samples[tail] - samples[tail - channels])});
        }
        EXPECT_LE(std::abs(samples[channel] - samples[samples.size() - channels + channel]), nearby) << channel;
    }
}

class GeneratedAssets : public TempDirTest {
protected:
    // The test command generates the files once before the suite; a run of this program on its
    // own makes them when they are missing.
    static void SetUpTestSuite() {
        for (const char* name : OutputFiles)
            if (!fs::exists(fs::path(GENERATED_ASSETS) / name)) {
                RunGenerator(GENERATED_ASSETS);
                break;
            }
    }
    static std::string Output(const char* name) { return (fs::path(GENERATED_ASSETS) / name).string(); }
};

}  // namespace

// 24-bit pictures the display converts; sparks are drawn with black as the transparent colour.
TEST_F(GeneratedAssets, PicturesAreStoredInLoadOrderAndReadBackAtTheirSizes) {
    ResourceArchive archive;
    ASSERT_TRUE(archive.Open(Output("graphics.vbf").c_str()));
    const auto expected = ExpectedPictures();
    ASSERT_EQ(archive.Entries().size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].first);
        EXPECT_EQ(archive.Entries()[i].name, expected[i].first);
        StoredBitmap bmp;
        ASSERT_TRUE(ReadStoredBitmap(archive, expected[i].first.c_str(), bmp));
        EXPECT_EQ(bmp.bitCount, 24);
        if (expected[i].second) EXPECT_EQ(bmp.width, expected[i].second);
        if (expected[i].first.rfind("spark", 0) == 0)
            for (int x = 0; x < 24 * 3; ++x) EXPECT_EQ(bmp.pixels[x] | bmp.pixels[23 * 72 + x], 0) << "edge byte " << x;
    }
    EXPECT_EQ(ReadDebugLog(), std::vector<std::string>(expected.size(), "Bitmap loaded"));
}

TEST_F(GeneratedAssets, EffectsAreMonoPcmOfTheRightLengthsAndTheLoopJoins) {
    const struct {
        const char* name;
        double minSeconds, maxSeconds;
    } limits[] = {{"rotate.wav", 0.03, 0.2}, {"zap2.wav", 0.15, 0.3}, {"attach.wav", 0.05, 0.3},
                  {"static.wav", 1.0, 2.0}, {"static2.wav", 0.5, 4.0}};
    ResourceArchive archive;
    ASSERT_TRUE(archive.Open(Output("audio.vbf").c_str()));
    for (const auto& expected : limits) {
        SCOPED_TRACE(expected.name);
        StoredWave wave;
        ASSERT_TRUE(ReadStoredWave(archive, expected.name, wave));
        EXPECT_EQ(wave.format.formatTag, 1);
        EXPECT_EQ(wave.format.channels, 1);
        EXPECT_EQ(wave.format.bitsPerSample, 16);
        EXPECT_EQ(wave.format.samplesPerSec, 44100u);
        EXPECT_EQ(wave.format.avgBytesPerSec, 88200u);
        std::vector<int16_t> samples(wave.pcm.size() / 2);
        std::memcpy(samples.data(), wave.pcm.data(), samples.size() * 2);
        EXPECT_GE(samples.size() / 44100.0, expected.minSeconds);
        EXPECT_LE(samples.size() / 44100.0, expected.maxSeconds);
        if (std::string(expected.name) == "static2.wav") ExpectSmoothJoin(samples, 1);   // played looping
    }
}

TEST_F(GeneratedAssets, MusicIsAWholeBarStereoLoopThatJoinsWithoutAJump) {
    OggVorbis_File vf;
    ASSERT_EQ(ov_fopen(Output("loop1.dat").c_str(), &vf), 0);
    EXPECT_EQ(ov_info(&vf, -1)->rate, 44100);
    ASSERT_EQ(ov_info(&vf, -1)->channels, 2);
    std::vector<int16_t> samples;
    char buffer[8192];
    int section = 0;
    for (long got; (got = ov_read(&vf, buffer, sizeof buffer, 0, 2, 1, &section)) != 0;) {
        ASSERT_GT(got, 0) << "decoder error";
        samples.resize(samples.size() + got / 2);
        std::memcpy(&samples[samples.size() - got / 2], buffer, got);
    }
    const ogg_int64_t frames = ov_pcm_total(&vf, -1);
    ov_clear(&vf);
    ASSERT_EQ(static_cast<size_t>(frames) * 2, samples.size());
    EXPECT_EQ(frames, static_cast<ogg_int64_t>(MusicSamplesPerBar) * MusicBars) << "whole bars";
    ExpectSmoothJoin(samples, 2);
}

// The resource compiler takes them: an icon of three images inside the file, a 32 x 32 cursor
// of two colours whose hot spot is its top-left corner.
TEST_F(GeneratedAssets, IconAndCursorHaveTheResourceLayout) {
    const Bytes icon = ReadFileBytes(Output("quadrone.ico"));
    ASSERT_GE(icon.size(), 6u + 3 * 16);
    EXPECT_EQ(icon[2] | icon[3] << 8, 1);
    ASSERT_EQ(icon[4] | icon[5] << 8, 3);
    for (int i = 0; i < 3; ++i) {
        const size_t entry = 6 + 16 * i;
        EXPECT_LE(static_cast<size_t>(GetLe32(icon, entry + 12)) + GetLe32(icon, entry + 8), icon.size());
        EXPECT_EQ(GetLe32(icon, GetLe32(icon, entry + 12) + 4), icon[entry]) << "image " << i;
    }
    const Bytes cursor = ReadFileBytes(Output("quadrone.cur"));
    ASSERT_GE(cursor.size(), 22u);
    EXPECT_EQ(Bytes(cursor.begin(), cursor.begin() + 14), (Bytes{0, 0, 2, 0, 1, 0, 32, 32, 2, 0, 0, 0, 0, 0}));
}

TEST_F(GeneratedAssets, TwoRunsWriteTheSameBytes) {
    const fs::path second = RunGenerator(fs::temp_directory_path() / ("quadrone-assets-" + std::to_string(getpid())));
    for (const char* name : OutputFiles) {
        const Bytes first = ReadFileBytes(Output(name));
        EXPECT_FALSE(first.empty()) << name;
        EXPECT_TRUE(first == ReadFileBytes((second / name).string())) << name;
    }
    fs::remove_all(second);
}
