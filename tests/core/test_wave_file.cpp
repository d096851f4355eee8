// Stored WAVE effects: the one accepted layout, and every refusal with its log line.
#include <cstdio>
#include <cstring>
#include <tuple>

#include "core/audio/wave_file.h"
#include "stored_files.h"
#include "test_support.h"

namespace {

using Lines = std::vector<std::string>;

class WaveFile : public TempDirTest {
protected:
    StoredWave wave;

    // Loads `name` from a fresh archive of `files`; returns the log it wrote.
    Lines LoadFrom(const std::vector<StoredFile>& files, const char* name, bool expected, bool* failedAfter = nullptr)
    {
        std::remove(".\\debug.log");
        WriteFileBytes("audio.vbf", TableFirstArchive(files));
        ResourceArchive archive;
        EXPECT_TRUE(archive.Open("audio.vbf"));
        EXPECT_EQ(ReadStoredWave(archive, name, wave), expected);
        if (failedAfter) {
            *failedAfter = archive.Failed();
        }
        return ReadDebugLog();
    }
};

}  // namespace

TEST_F(WaveFile, CanonicalPcmLoadsSilentlyAndMissingEntriesAreLogged)
{
    Bytes b = MakeWave(70000);  // more than one read piece
    PutLe16(b, 32, 7);          // stored alignment disagrees: replaced
    PutLe32(b, 28, 123456);     // stored byte rate: kept as it is
    const std::vector<StoredFile> files = {{"other.wav", MakeWave(12)}, {"rotate.wav", b}, {"after.wav", MakeWave(8)}};
    EXPECT_TRUE(LoadFrom(files, "ROTATE.wav", true).empty());
    const WaveFormat& f = wave.format;
    EXPECT_EQ(std::tie(f.formatTag, f.channels, f.samplesPerSec, f.avgBytesPerSec, f.blockAlign, f.bitsPerSample),
        std::make_tuple(1, 2, 22050u, 123456u, 4, 16))
        << "tag, channels, rate, byte rate, alignment, bits";
    EXPECT_EQ(wave.pcm, Bytes(b.begin() + 44, b.end()));
    EXPECT_TRUE(LoadFrom({{"e.wav", MakeWave(0)}}, "e.wav", true).empty()) << "a wave of no samples is no damage";

    EXPECT_EQ(LoadFrom({{"a.wav", MakeWave(4)}}, "zap2.wav", false), Lines{"Error finding file in VBF"});
    std::remove(".\\debug.log");
    ResourceArchive archive;
    ASSERT_TRUE(archive.Open("audio.vbf"));
    archive.Seek(1u << 30);
    char sink[4];
    archive.Read(sink, sizeof sink);
    EXPECT_FALSE(ReadStoredWave(archive, "a.wav", wave));
    EXPECT_EQ(ReadDebugLog(), Lines{"Error seeking in VBF file"});
}

// A data size beyond what the entry holds is refused before anything is read or allocated for it,
// and the archive stays usable; only a read that ran out fails it.
TEST_F(WaveFile, EveryRefusalIsLoggedAtItsStep)
{
    // `bytes`: four bytes written at `at`, or none: the entry is cut at `at`.
    const struct {
        const char* what;
        size_t at;
        const char* bytes;
        const char* line;
    } cases[] = {
        {"RIFX container", 0, "RIFX", "RIFF header not found"},
        {"AVI form", 8, "AVI ", "WAVE ID not found"},
        {"upper-case FMT", 12, "FMT ", "fmt header not found"},
        {"floating point", 20, "\x03\x00\x02\x00", "Unknown WAVE file format"},
        {"upper-case DATA", 36, "DATA", "data header not found"},
        {"data beyond the entry", 40, "\x24\x00\x00\x00", "Error reading raw wave data"},
        {"data size near 4 GiB", 40, "\xFF\xFF\xFF\xFF", "Error reading raw wave data"},
        {"cut in the RIFF header", 6, nullptr, "Error reading RIFF header"},
        {"cut in the WAVE ID", 10, nullptr, "Error reading WAVE ID"},
        {"cut in the fmt chunk", 18, nullptr, "Error reading FMT chunk"},
        {"cut in the format", 33, nullptr, "Error reading WAVE file format"},
        {"cut in the bits per sample", 35, nullptr, "Error reading BPS"},
        {"cut in the data header", 40, nullptr, "Error reading Data header chunk"},
        {"cut in the data", 50, nullptr, "Error reading raw wave data"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes b = MakeWave(32);
        std::vector<StoredFile> files = {{"x.wav", Bytes(b.begin(), b.begin() + c.at), uint32_t(b.size())}};
        if (c.bytes) {
            std::memcpy(&b[c.at], c.bytes, 4);
            files = {{"x.wav", b}, {"next.wav", MakeWave(800)}};
        }
        bool failed = false;
        EXPECT_EQ(LoadFrom(files, "x.wav", false, &failed), Lines{c.line});
        EXPECT_EQ(failed, c.bytes == nullptr);
        EXPECT_TRUE(wave.pcm.empty());
    }
    // An 18-byte format chunk (with its cbSize word) pushes "data" two bytes on.
    Bytes b = MakeWave(16);
    PutLe32(b, 16, 18);
    b.insert(b.begin() + 36, {0, 0});
    EXPECT_EQ(LoadFrom({{"x.wav", b}}, "x.wav", false), Lines{"data header not found"});
}
