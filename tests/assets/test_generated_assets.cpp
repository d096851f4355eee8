// The generated data files read back as the game reads them: every picture and effect present in
// the order and format the game takes, the music decoding to a loop of whole bars, and the same
// bytes on every run.
#include <unistd.h>
#include <vorbis/vorbisfile.h>

#include <cstdlib>
#include <filesystem>
#include <tuple>

#include "core/archive/resource_archive.h"
#include "core/audio/wave_file.h"
#include "core/display/bitmap_file.h"
#include "core/display/glyph_sheet.h"
#include "music.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

const char* const OutputFiles[] = {
    "graphics.vbf", "audio.vbf", "loop1.dat", "quadrone.ico", "quadrone.png", "quadrone.cur", "contact-sheet.png"};

fs::path RunGenerator(const fs::path& folder)
{
    fs::remove_all(folder);
    const std::string command = std::string("\"") + ASSETGEN_PATH + "\" \"" + folder.string() + "\"";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return folder;
}

std::string Output(const char* name)
{
    return (fs::path(GENERATED_ASSETS) / name).string();
}

// The test command generates the files once before the suite; a run of this program on its own
// makes them when they are missing.
class GeneratedAssets : public TempDirTest {
protected:
    static void SetUpTestSuite()
    {
        for (const char* name : OutputFiles) {
            if (!fs::exists(Output(name))) {
                return (void)RunGenerator(GENERATED_ASSETS);
            }
        }
    }
};

}  // namespace

// 24-bit pictures, those the screens are laid out for at their widths (buttons: any); sparks
// have black edges, the transparent colour; the SDL build's font and icon last, after the 32 pictures. Mono 16-bit PCM effects at 44.1 kHz of their lengths.
// That the game finds and loads every one is checked where it starts, end to end.
TEST_F(GeneratedAssets, PicturesAndEffectsHaveTheFormatsAndSizesTheGameExpects)
{
    const std::pair<const char*, int> widths[] = {{"titlescreen", 640}, {"background", 640}, {"controls", 480},
        {"block", 24}, {"spark", 24}, {"topscores", 172}, {"static", 640}};
    ResourceArchive archive;
    ASSERT_TRUE(archive.Open(Output("graphics.vbf").c_str()));
    ASSERT_EQ(archive.Entries().size(), 34u);
    EXPECT_STREQ(archive.Entries()[32].name, GlyphSheetName);
    EXPECT_STREQ(archive.Entries()[33].name, "icon.bmp");
    for (const ArchiveEntry& entry : archive.Entries()) {
        const std::string name = entry.name;
        SCOPED_TRACE(name);
        StoredBitmap bmp;
        ASSERT_TRUE(ReadStoredBitmap(archive, entry.name, bmp));
        EXPECT_EQ(bmp.bitCount, 24);
        for (const auto& [prefix, width] : widths) {
            if (name.rfind(prefix, 0) == 0) {
                EXPECT_EQ(bmp.width, width);
            }
        }
        if (name == GlyphSheetName) {
            GlyphSheet sheet;
            ASSERT_TRUE(ReadGlyphSheet(bmp, sheet));
            // A space advances without ink; every other character has both.
            EXPECT_EQ(sheet.advance[0], 8);
            for (int glyph = 1; glyph < GlyphCount; ++glyph) {
                EXPECT_GT(sheet.advance[glyph], 0) << glyph;
            }
            EXPECT_TRUE(sheet.Ink(GlyphIndex('I'), 0, 1));
        }
        if (name.rfind("spark", 0) == 0) {
            for (int x = 0; x < 24 * 3; ++x) {
                EXPECT_EQ(bmp.pixels[x] | bmp.pixels[23 * 72 + x], 0) << "edge byte " << x;
            }
        }
    }

    const std::tuple<const char*, double, double> effects[] = {{"rotate.wav", 0.03, 0.2}, {"zap2.wav", 0.15, 0.3},
        {"attach.wav", 0.05, 0.3}, {"static.wav", 1.0, 2.0}, {"static2.wav", 0.5, 4.0}};
    ASSERT_TRUE(archive.Open(Output("audio.vbf").c_str()));
    for (const auto& [name, minSeconds, maxSeconds] : effects) {
        SCOPED_TRACE(name);
        StoredWave wave;
        ASSERT_TRUE(ReadStoredWave(archive, name, wave));
        const WaveFormat& f = wave.format;
        EXPECT_EQ(std::tie(f.formatTag, f.channels, f.bitsPerSample, f.samplesPerSec, f.avgBytesPerSec),
            std::make_tuple(1, 1, 16, 44100u, 88200u));
        EXPECT_GE(wave.pcm.size() / 88200.0, minSeconds);
        EXPECT_LE(wave.pcm.size() / 88200.0, maxSeconds);
    }
}

TEST_F(GeneratedAssets, MusicDecodesToAStereoLoopOfWholeBars)
{
    OggVorbis_File vf;
    ASSERT_EQ(ov_fopen(Output("loop1.dat").c_str(), &vf), 0);
    EXPECT_EQ(ov_info(&vf, -1)->rate, 44100);
    ASSERT_EQ(ov_info(&vf, -1)->channels, 2);
    char buffer[8192];
    int section = 0;
    size_t decoded = 0;
    for (long got; (got = ov_read(&vf, buffer, sizeof buffer, 0, 2, 1, &section)) != 0; decoded += got) {
        ASSERT_GT(got, 0) << "decoder error";
    }
    EXPECT_EQ(ov_pcm_total(&vf, -1), static_cast<ogg_int64_t>(MusicSamplesPerBar) * MusicBars) << "whole bars";
    ov_clear(&vf);
    EXPECT_EQ(decoded, static_cast<size_t>(MusicSamplesPerBar) * MusicBars * 4) << "16-bit stereo to the end";
}

TEST_F(GeneratedAssets, TwoRunsWriteTheSameBytes)
{
    const fs::path second = RunGenerator(fs::temp_directory_path() / ("quadrone-assets-" + std::to_string(getpid())));
    for (const char* name : OutputFiles) {
        const std::vector<uint8_t> first = ReadFileBytes(Output(name));
        EXPECT_FALSE(first.empty()) << name;
        EXPECT_TRUE(first == ReadFileBytes((second / name).string())) << name;
    }
    fs::remove_all(second);
}
