// The generated data files: every picture and effect read back as the game reads it,
// the music decoded and its loop join measured, the resources' layout, and determinism.
#include <unistd.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "archive/resource_archive.h"
#include "audio/wave_file.h"
#include "display/bitmap_file.h"
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

struct ExpectedPicture {
    std::string name;
    int width, height;
};

std::vector<ExpectedPicture> ExpectedPictures() {
    std::vector<ExpectedPicture> list = {{"titlescreen.bmp", 640, 480}, {"background.bmp", 640, 480}, {"controls.bmp", 480, 360}};
    for (int i = 1; i <= 7; ++i) {
        list.push_back({"block" + std::to_string(i) + ".bmp", 24, 24});
        list.push_back({"block" + std::to_string(i) + "-ghost.bmp", 24, 24});
    }
    for (int i = 1; i <= 3; ++i) list.push_back({"spark" + std::to_string(i) + ".bmp", 24, 24});
    list.push_back({"topscores.bmp", 172, 153});
    list.push_back({"static1.bmp", 640, 480});
    list.push_back({"static2.bmp", 640, 480});
    for (const char* button : {"play", "scores", "quit"})
        for (int s = 1; s <= 3; ++s) list.push_back({std::string(button) + "-" + std::to_string(s) + ".bmp", 0, 0});
    return list;
}

// A 24-bit picture as rows of (r, g, b), top row first.
struct Picture {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
    const uint8_t* At(int x, int y) const { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
    float Grey(int x, int y) const { return 0.299f * At(x, y)[0] + 0.587f * At(x, y)[1] + 0.114f * At(x, y)[2]; }
};

Picture ToPicture(const StoredBitmap& bmp) {
    Picture p;
    p.width = bmp.width;
    p.height = bmp.height;
    const size_t stride = BitmapRowStride(bmp.width, 24);
    for (int y = bmp.height - 1; y >= 0; --y)
        for (int x = 0; x < bmp.width; ++x) {
            const uint8_t* bgr = &bmp.pixels[y * stride + x * 3];
            p.rgb.insert(p.rgb.end(), {bgr[2], bgr[1], bgr[0]});
        }
    return p;
}

float DifferingShare(const Picture& a, const Picture& b) {
    size_t differing = 0;
    for (size_t i = 0; i < a.rgb.size(); i += 3) differing += std::memcmp(&a.rgb[i], &b.rgb[i], 3) != 0;
    return static_cast<float>(differing) / (a.rgb.size() / 3);
}

int MaxStep(const std::vector<int16_t>& samples, int channels, int channel) {
    int largest = 0;
    for (size_t i = channel + channels; i < samples.size(); i += channels)
        largest = std::max(largest, std::abs(samples[i] - samples[i - channels]));
    return largest;
}

// The largest step within `window` frames before the end and after the start: a
// seamless loop joins no more abruptly than the music moves right around the join.
int StepNearJoin(const std::vector<int16_t>& samples, int channels, int channel, size_t window) {
    const size_t frames = samples.size() / channels;
    int largest = 0;
    for (size_t f = 1; f <= window; ++f) {
        const size_t head = f * channels + channel, tail = (frames - f) * channels + channel;
        largest = std::max(largest, std::abs(samples[head] - samples[head - channels]));
        largest = std::max(largest, std::abs(samples[tail] - samples[tail - channels]));
    }
    return largest;
}

int JoinStep(const std::vector<int16_t>& samples, int channels, int channel) {
    return std::abs(samples[channel] - samples[samples.size() - channels + channel]);
}

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
uint16_t Le16(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] | b[at + 1] << 8); }

class GeneratedAssets : public TempDirTest {
protected:
    // The test command generates the files once before the suite; a run of this
    // program on its own makes them when they are missing.
    static void SetUpTestSuite() {
        output = new fs::path(GENERATED_ASSETS);
        for (const char* name : OutputFiles)
            if (!fs::exists(*output / name)) {
                RunGenerator(*output);
                break;
            }
    }
    static void TearDownTestSuite() { delete output; }
    static fs::path* output;

    std::map<std::string, Picture> LoadPictures() {
        ResourceArchive archive;
        EXPECT_TRUE(archive.Open((*output / "graphics.vbf").string().c_str()));
        std::map<std::string, Picture> pictures;
        for (const ExpectedPicture& expected : ExpectedPictures()) {
            StoredBitmap bmp;
            EXPECT_TRUE(ReadStoredBitmap(archive, expected.name.c_str(), bmp)) << expected.name;
            if (!bmp.pixels.empty()) pictures[expected.name] = ToPicture(bmp);
        }
        archive.Close();
        return pictures;
    }

    StoredWave LoadWave(const char* name) {
        ResourceArchive archive;
        EXPECT_TRUE(archive.Open((*output / "audio.vbf").string().c_str()));
        StoredWave wave;
        EXPECT_TRUE(ReadStoredWave(archive, name, wave)) << name;
        archive.Close();
        return wave;
    }
};

fs::path* GeneratedAssets::output = nullptr;

}  // namespace

TEST_F(GeneratedAssets, PicturesAreStoredInLoadOrderAndReadBackAtTheirSizes) {
    ResourceArchive archive;
    ASSERT_TRUE(archive.Open((*output / "graphics.vbf").string().c_str()));
    const std::vector<ExpectedPicture> expected = ExpectedPictures();
    ASSERT_EQ(archive.Entries().size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].name);
        EXPECT_STREQ(archive.Entries()[i].name, expected[i].name.c_str());
        StoredBitmap bmp;
        ASSERT_TRUE(ReadStoredBitmap(archive, expected[i].name.c_str(), bmp));
        EXPECT_EQ(bmp.bitCount, 24);
        EXPECT_EQ(Le32(std::vector<uint8_t>(bmp.infoHeader, bmp.infoHeader + 40), 0), 40u);
        if (expected[i].width) {
            EXPECT_EQ(bmp.width, expected[i].width);
            EXPECT_EQ(bmp.height, expected[i].height);
        }
    }
    EXPECT_FALSE(archive.Failed());
    EXPECT_EQ(ReadDebugLog(), std::vector<std::string>(32, "Bitmap loaded"));
}

// Buttons: one size per button, inside the game area where the menu puts them, apart
// from each other, and three states that look clearly different.
TEST_F(GeneratedAssets, ButtonsFitTheirPlacesAndTheirStatesDiffer) {
    const auto pictures = LoadPictures();
    struct Place {
        const char* name;
        int x, y;
    };
    const Place places[] = {{"play", 470, 180}, {"scores", 410, 260}, {"quit", 470, 338}};
    int previousBottom = 0;
    for (const Place& p : places) {
        SCOPED_TRACE(p.name);
        const Picture& normal = pictures.at(std::string(p.name) + "-1.bmp");
        const Picture& hover = pictures.at(std::string(p.name) + "-2.bmp");
        const Picture& pressed = pictures.at(std::string(p.name) + "-3.bmp");
        EXPECT_EQ(hover.width, normal.width);
        EXPECT_EQ(pressed.height, normal.height);
        EXPECT_LE(p.x + normal.width, 640);
        EXPECT_GT(p.y, previousBottom);
        previousBottom = p.y + normal.height;
        EXPECT_GT(DifferingShare(normal, hover), 0.3f);
        EXPECT_GT(DifferingShare(normal, pressed), 0.3f);
        EXPECT_GT(DifferingShare(hover, pressed), 0.3f);
    }
    EXPECT_LE(previousBottom, 480);
}

// Telling pieces apart must not depend on hue alone: compared in grey, every pair of
// blocks still differs clearly; each ghost is nearest in colour to its own block.
TEST_F(GeneratedAssets, BlocksDifferInGreyAndGhostsKeepTheirColour) {
    const auto pictures = LoadPictures();
    auto block = [&](int i) -> const Picture& { return pictures.at("block" + std::to_string(i) + ".bmp"); };
    auto ghost = [&](int i) -> const Picture& { return pictures.at("block" + std::to_string(i) + "-ghost.bmp"); };
    for (int a = 1; a <= 7; ++a)
        for (int b = a + 1; b <= 7; ++b) {
            float difference = 0;
            for (int y = 0; y < 24; ++y)
                for (int x = 0; x < 24; ++x) difference += std::fabs(block(a).Grey(x, y) - block(b).Grey(x, y));
            EXPECT_GT(difference / 576, 12.0f) << "blocks " << a << " and " << b << " look alike in grey";
        }
    auto meanChroma = [](const Picture& p, float out[3]) {
        float sum[3] = {0, 0, 0};
        for (size_t i = 0; i < p.rgb.size(); i += 3)
            for (int c = 0; c < 3; ++c) sum[c] += p.rgb[i + c];
        const float total = sum[0] + sum[1] + sum[2] + 1;
        for (int c = 0; c < 3; ++c) out[c] = sum[c] / total;
    };
    for (int g = 1; g <= 7; ++g) {
        float gc[3];
        meanChroma(ghost(g), gc);
        int nearest = 0;
        float best = 1e9f;
        for (int b = 1; b <= 7; ++b) {
            float bc[3];
            meanChroma(block(b), bc);
            const float d = std::hypot(gc[0] - bc[0], gc[1] - bc[1], gc[2] - bc[2]);
            if (d < best) {
                best = d;
                nearest = b;
            }
        }
        EXPECT_EQ(nearest, g) << "ghost " << g;
    }
}

// Sparks are drawn with black as the transparent colour: the edges must be exactly black.
TEST_F(GeneratedAssets, SparksSitOnPureBlack) {
    const auto pictures = LoadPictures();
    for (int i = 1; i <= 3; ++i) {
        const Picture& spark = pictures.at("spark" + std::to_string(i) + ".bmp");
        int lit = 0;
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 24; ++x) {
                const uint8_t* p = spark.At(x, y);
                const bool black = p[0] == 0 && p[1] == 0 && p[2] == 0;
                if (x == 0 || y == 0 || x == 23 || y == 23) {
                    EXPECT_TRUE(black) << "spark " << i << " at " << x << "," << y;
                }
                lit += !black;
            }
        EXPECT_GT(lit, 20) << "spark " << i;
        EXPECT_LT(lit, 400) << "spark " << i;
    }
}

TEST_F(GeneratedAssets, EffectsAreCleanMonoPcmOfTheRightLengths) {
    struct EffectLimits {
        const char* name;
        double minSeconds, maxSeconds;
        bool loops;
    };
    const EffectLimits limits[] = {{"rotate.wav", 0.03, 0.2, false},
                          {"zap2.wav", 0.15, 0.3, false},
                          {"attach.wav", 0.05, 0.3, false},
                          {"static.wav", 1.0, 2.0, false},
                          {"static2.wav", 0.5, 4.0, true}};
    for (const EffectLimits& expected : limits) {
        SCOPED_TRACE(expected.name);
        const StoredWave wave = LoadWave(expected.name);
        EXPECT_EQ(wave.format.formatTag, 1);
        EXPECT_EQ(wave.format.channels, 1);
        EXPECT_EQ(wave.format.bitsPerSample, 16);
        EXPECT_EQ(wave.format.samplesPerSec, 44100u);
        EXPECT_EQ(wave.format.avgBytesPerSec, 88200u);
        std::vector<int16_t> samples(wave.pcm.size() / 2);
        std::memcpy(samples.data(), wave.pcm.data(), samples.size() * 2);
        const double seconds = samples.size() / 44100.0;
        EXPECT_GE(seconds, expected.minSeconds);
        EXPECT_LE(seconds, expected.maxSeconds);
        int peak = 0;
        double sum = 0;
        for (int16_t s : samples) {
            peak = std::max(peak, std::abs(static_cast<int>(s)));
            sum += s;
        }
        EXPECT_LT(peak, 29000) << "no clipping, and a little headroom";
        EXPECT_GT(peak, 6000) << "audible";
        EXPECT_LT(std::fabs(sum / samples.size()), 10.0) << "DC offset below 0.03 % of full scale";
        if (expected.loops) {
            EXPECT_LE(JoinStep(samples, 1, 0), MaxStep(samples, 1, 0));
            EXPECT_LE(JoinStep(samples, 1, 0), StepNearJoin(samples, 1, 0, 44));
        } else {
            EXPECT_LT(std::abs(samples.front()), 300) << "starts without a click";
            EXPECT_LT(std::abs(samples.back()), 300) << "ends without a click";
        }
    }
}

TEST_F(GeneratedAssets, MusicIsAWholeBarStereoLoopThatJoinsWithoutAJump) {
    const fs::path path = *output / "loop1.dat";
    EXPECT_LT(fs::file_size(path), 1500u * 1024);
    OggVorbis_File vf;
    ASSERT_EQ(ov_fopen(path.string().c_str(), &vf), 0);
    const vorbis_info* info = ov_info(&vf, -1);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->rate, 44100);
    ASSERT_EQ(info->channels, 2);
    std::vector<int16_t> samples;
    char buffer[8192];
    int section = 0;
    for (long got; (got = ov_read(&vf, buffer, sizeof buffer, 0, 2, 1, &section)) != 0;) {
        ASSERT_GT(got, 0) << "decoder error";
        const size_t at = samples.size();
        samples.resize(at + got / 2);
        std::memcpy(&samples[at], buffer, got);
    }
    const ogg_int64_t frames = ov_pcm_total(&vf, -1);
    ov_clear(&vf);
    ASSERT_EQ(static_cast<size_t>(frames) * 2, samples.size());
    const double seconds = frames / 44100.0;
    EXPECT_GE(seconds, 60.0);
    EXPECT_LE(seconds, 120.0);
    EXPECT_EQ(frames % MusicSamplesPerBar, 0) << "whole bars";
    EXPECT_EQ(frames / MusicSamplesPerBar, MusicBars);
    for (int channel = 0; channel < 2; ++channel) {
        SCOPED_TRACE(channel);
        EXPECT_LE(JoinStep(samples, 2, channel), MaxStep(samples, 2, channel));
        // Transients make the largest step huge; a click still stands out against its neighbours.
        EXPECT_LE(JoinStep(samples, 2, channel), StepNearJoin(samples, 2, channel, 44));
    }
}

TEST_F(GeneratedAssets, IconAndCursorHaveTheResourceLayout) {
    const std::vector<uint8_t> icon = ReadFileBytes((*output / "quadrone.ico").string());
    ASSERT_GE(icon.size(), 6u + 3 * 16);
    EXPECT_EQ(Le16(icon, 2), 1);
    ASSERT_EQ(Le16(icon, 4), 3);
    const int sizes[3] = {32, 16, 48};
    for (int i = 0; i < 3; ++i) {
        const size_t entry = 6 + 16 * i;
        EXPECT_EQ(icon[entry], sizes[i]);
        EXPECT_EQ(icon[entry + 1], sizes[i]);
        EXPECT_EQ(Le16(icon, entry + 6), 8) << "256 colours";
        const uint32_t bytes = Le32(icon, entry + 8), offset = Le32(icon, entry + 12);
        ASSERT_LE(static_cast<size_t>(offset) + bytes, icon.size());
        EXPECT_EQ(Le32(icon, offset + 4), static_cast<uint32_t>(sizes[i]));
        EXPECT_EQ(Le32(icon, offset + 8), static_cast<uint32_t>(sizes[i] * 2));
        const uint32_t rows = sizes[i] * ((sizes[i] + 3) / 4 * 4) + sizes[i] * ((sizes[i] + 31) / 32 * 4);
        EXPECT_EQ(bytes, 40 + 256 * 4 + rows);
    }
    const std::vector<uint8_t> cursor = ReadFileBytes((*output / "quadrone.cur").string());
    ASSERT_EQ(cursor.size(), 6u + 16 + 40 + 8 + 2 * 128);
    EXPECT_EQ(Le16(cursor, 2), 2);
    EXPECT_EQ(Le16(cursor, 4), 1);
    EXPECT_EQ(cursor[6], 32);
    EXPECT_EQ(cursor[7], 32);
    EXPECT_EQ(Le16(cursor, 10), 0) << "hot spot x";
    EXPECT_EQ(Le16(cursor, 12), 0) << "hot spot y";
    EXPECT_EQ(Le16(cursor, 22 + 14), 1) << "monochrome";
    // The hot spot pixel is part of the arrow: the top-left bit of the mask (last row stored) is clear.
    const size_t andMask = 22 + 40 + 8 + 128;
    EXPECT_EQ(cursor[andMask + 31 * 4] & 0x80, 0);
}

TEST_F(GeneratedAssets, TwoRunsWriteTheSameBytes) {
    const fs::path second = RunGenerator(fs::temp_directory_path() / ("quadrone-assets-" + std::to_string(getpid())));
    for (const char* name : OutputFiles) {
        const std::vector<uint8_t> a = ReadFileBytes((*output / name).string());
        EXPECT_FALSE(a.empty()) << name;
        EXPECT_TRUE(a == ReadFileBytes((second / name).string())) << name;
    }
    fs::remove_all(second);
}
