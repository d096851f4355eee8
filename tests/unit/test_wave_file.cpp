// Stored WAVE effects: the one accepted layout, every refusal with its log line, and lying sizes.
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "archive/resource_archive.h"
#include "audio/wave_file.h"
#include "stored_files.h"
#include "test_support.h"

namespace {

class WaveFile : public TempDirTest {
protected:
    StoredWave wave;

    // Loads `name` from a fresh archive of `files`; returns the log it wrote.
    std::vector<std::string> LoadFrom(const std::vector<StoredFile>& files, const char* name, bool expected,
                                      bool* failedAfter = nullptr) {
        std::remove(".\\debug.log");
        WriteFileBytes("audio.vbf", TableFirstArchive(files));
        ResourceArchive archive;
        EXPECT_TRUE(archive.Open("audio.vbf"));
        EXPECT_EQ(ReadStoredWave(archive, name, wave), expected);
        if (failedAfter) *failedAfter = archive.Failed();
        return ReadDebugLog();
    }
};

}  // namespace

TEST_F(WaveFile, CanonicalPcmLoadsSilentlyAndMissingEntriesAreLogged) {
    Bytes b = MakeWave(400);
    PutLe16(b, 32, 7);        // stored alignment disagrees: replaced
    PutLe32(b, 28, 123456);   // stored byte rate: kept as it is
    EXPECT_TRUE(LoadFrom({{"other.wav", MakeWave(12)}, {"rotate.wav", b}, {"after.wav", MakeWave(8)}}, "ROTATE.wav", true).empty());
    EXPECT_EQ(wave.format.formatTag, 1);
    EXPECT_EQ(wave.format.channels, 2);
    EXPECT_EQ(wave.format.samplesPerSec, 22050u);
    EXPECT_EQ(wave.format.avgBytesPerSec, 123456u);
    EXPECT_EQ(wave.format.blockAlign, 4);
    EXPECT_EQ(wave.format.bitsPerSample, 16);
    ASSERT_EQ(wave.pcm.size(), 400u);
    EXPECT_TRUE(std::equal(wave.pcm.begin(), wave.pcm.end(), b.begin() + 44));

    EXPECT_EQ(LoadFrom({{"a.wav", MakeWave(4)}}, "zap2.wav", false), std::vector<std::string>{"Error finding file in VBF"});
    std::remove(".\\debug.log");
    ResourceArchive archive;
    ASSERT_TRUE(archive.Open("audio.vbf"));
    archive.Seek(1u << 30);
    char sink[4];
    archive.Read(sink, sizeof sink);
    EXPECT_FALSE(ReadStoredWave(archive, "a.wav", wave));
    EXPECT_EQ(ReadDebugLog(), std::vector<std::string>{"Error seeking in VBF file"});
}

TEST_F(WaveFile, WrongIdsAndFormatsAreRefused) {
    struct Case {
        const char* what;
        size_t at;
        const char* bytes;  // four bytes written at `at`
        const char* line;
    };
    const Case cases[] = {
        {"RIFX container", 0, "RIFX", "RIFF header not found"},
        {"lower-case riff", 0, "riff", "RIFF header not found"},
        {"AVI form", 8, "AVI ", "WAVE ID not found"},
        {"lower-case wave", 8, "wave", "WAVE ID not found"},
        {"upper-case FMT", 12, "FMT ", "fmt header not found"},
        {"fact chunk first", 12, "fact", "fmt header not found"},
        {"fmt without its blank", 12, "fmt\0", "fmt header not found"},
        {"floating point", 20, "\x03\x00\x02\x00", "Unknown WAVE file format"},
        {"extensible", 20, "\xFE\xFF\x02\x00", "Unknown WAVE file format"},
        {"LIST before data", 36, "LIST", "data header not found"},
        {"upper-case DATA", 36, "DATA", "data header not found"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes b = MakeWave(16);
        std::memcpy(&b[c.at], c.bytes, 4);
        EXPECT_EQ(LoadFrom({{"x.wav", b}}, "x.wav", false), std::vector<std::string>{c.line});
        EXPECT_TRUE(wave.pcm.empty());
    }
    // An 18-byte format chunk (with its cbSize word) pushes "data" two bytes on.
    Bytes b = MakeWave(16);
    PutLe32(b, 16, 18);
    b.insert(b.begin() + 36, {0, 0});
    EXPECT_EQ(LoadFrom({{"x.wav", b}}, "x.wav", false), std::vector<std::string>{"data header not found"});
}

TEST_F(WaveFile, ShortFilesFailAtTheStepWhereTheDataRanOut) {
    const std::pair<size_t, const char*> cuts[] = {
        {6, "Error reading RIFF header"},      {10, "Error reading WAVE ID"},
        {18, "Error reading FMT chunk"},       {33, "Error reading WAVE file format"},
        {35, "Error reading BPS"},             {40, "Error reading Data header chunk"},
        {50, "Error reading raw wave data"},
    };
    const Bytes whole = MakeWave(32);
    for (const auto& cut : cuts) {
        SCOPED_TRACE(cut.second);
        bool failed = false;
        const Bytes part(whole.begin(), whole.begin() + cut.first);
        EXPECT_EQ(LoadFrom({{"x.wav", part, static_cast<uint32_t>(whole.size())}}, "x.wav", false, &failed),
                  std::vector<std::string>{cut.second});
        EXPECT_TRUE(failed);
        EXPECT_TRUE(wave.pcm.empty());
    }
}

// A data size beyond what the entry holds is refused before anything is read or
// allocated for it, and the archive stays usable.
TEST_F(WaveFile, DataSizeBeyondTheEntryIsRefusedUpFront) {
    for (uint32_t claimed : {404u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        SCOPED_TRACE(claimed);
        Bytes b = MakeWave(400);
        PutLe32(b, 40, claimed);
        bool failed = true;
        EXPECT_EQ(LoadFrom({{"x.wav", b}, {"next.wav", MakeWave(800)}}, "x.wav", false, &failed),
                  std::vector<std::string>{"Error reading raw wave data"});
        EXPECT_FALSE(failed);
    }
    bool failed = true;
    EXPECT_TRUE(LoadFrom({{"tiny.wav", Bytes(MakeWave(0))}}, "tiny.wav", true, &failed).empty());
    EXPECT_TRUE(wave.pcm.empty());
}
