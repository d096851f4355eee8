// The five effects from the audio archive: the generated set, and every refusal with its log line.
#include <cstring>
#include <new>

#include "archive/resource_archive.h"
#include "audio/effects.h"
#include "audio/effects_win32.h"
#include "audio/sound_win32.h"
#include "audio_test_support.h"
#include "hand_archive.h"

namespace {

void Put16(std::string& b, size_t at, uint32_t v)
{
    b[at] = static_cast<char>(v);
    b[at + 1] = static_cast<char>(v >> 8);
}

void Put32(std::string& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i) {
        b[at + i] = static_cast<char>(v >> (8 * i));
    }
}

// Canonical 44-byte header over `dataSize` bytes of 16-bit stereo (stored block alignment 9, a lie).
std::string CanonicalWave(uint32_t dataSize)
{
    std::string b(44 + dataSize, '\x05');
    std::memcpy(&b[0], "RIFF", 4);
    Put32(b, 4, static_cast<uint32_t>(b.size() - 8));
    std::memcpy(&b[8], "WAVEfmt ", 8);
    Put32(b, 16, 16);
    Put16(b, 20, 1);
    Put16(b, 22, 2);
    Put32(b, 24, 22050);
    Put32(b, 28, 12345);
    Put16(b, 32, 9);
    Put16(b, 34, 16);
    std::memcpy(&b[36], "data", 4);
    Put32(b, 40, dataSize);
    return b;
}

// The same sound with an 18-byte format chunk, or with a LIST chunk before its data.
std::string LongFormatWave()
{
    std::string b = CanonicalWave(16);
    Put32(b, 16, 18);
    b.insert(36, 2, '\0');
    return b;
}

std::string ListBeforeDataWave()
{
    std::string b = CanonicalWave(16);
    b.insert(36, std::string("LIST\x04\0\0\0INFO", 12));
    return b;
}

// Header, table, then the entries in order, so the last entry ends the file and reads past it fail.
Bytes TableFirstArchive(const std::vector<std::pair<std::string, std::string>>& files)
{
    Bytes out(ArchiveHeaderSize + files.size() * ArchiveEntrySize, 0);
    std::memcpy(out.data(), "VBF", 4);
    PutLe32(out, 12, static_cast<uint32_t>(files.size()));
    PutLe32(out, 16, ArchiveHeaderSize);
    for (size_t i = 0; i < files.size(); ++i) {
        const size_t record = ArchiveHeaderSize + i * ArchiveEntrySize;
        std::memcpy(&out[record], files[i].first.c_str(), files[i].first.size() + 1);
        PutLe32(out, record + 264, static_cast<uint32_t>(files[i].second.size()));
        PutLe32(out, record + 268, static_cast<uint32_t>(out.size()));
        out.insert(out.end(), files[i].second.begin(), files[i].second.end());
    }
    return out;
}

struct Refusal {
    const char* what;
    std::string entry;
    const char* logLine;
};

std::vector<Refusal> Refusals()
{
    std::string notRiff = CanonicalWave(16), notWave = CanonicalWave(16), notFmt = CanonicalWave(16);
    std::string notPcm = CanonicalWave(16), notData = CanonicalWave(16), hugeData = CanonicalWave(16);
    std::memcpy(&notRiff[0], "RIFX", 4);
    std::memcpy(&notWave[8], "wave", 4);
    std::memcpy(&notFmt[12], "FMT ", 4);
    Put16(notPcm, 20, 3);
    std::memcpy(&notData[36], "Data", 4);
    Put32(hugeData, 40, 0xFFFFFF00u);
    const std::string whole = CanonicalWave(16);
    return {
        {"not RIFF", notRiff, "RIFF header not found"},
        {"not WAVE", notWave, "WAVE ID not found"},
        {"not fmt", notFmt, "fmt header not found"},
        {"floating point", notPcm, "Unknown WAVE file format"},
        {"18-byte fmt", LongFormatWave(), "data header not found"},
        {"LIST before data", ListBeforeDataWave(), "data header not found"},
        {"not data", notData, "data header not found"},
        // A size no archive entry could supply is refused before any of it is asked for.
        {"data size beyond the entry", hugeData, "Error reading raw wave data"},
        // Short entries at the very end of the archive: the reader runs out in each step.
        {"short RIFF header", whole.substr(0, 6), "Error reading RIFF header"},
        {"short form type", whole.substr(0, 10), "Error reading WAVE ID"},
        {"short fmt header", whole.substr(0, 16), "Error reading FMT chunk"},
        {"short format", whole.substr(0, 30), "Error reading WAVE file format"},
        {"short bits per sample", whole.substr(0, 35), "Error reading BPS"},
        {"short data header", whole.substr(0, 40), "Error reading Data header chunk"},
        {"short data", whole.substr(0, 50), "Error reading raw wave data"},
    };
}

}  // namespace

class EffectsTest : public SoundDeviceTest {
protected:
    void TearDown() override
    {
        DeleteEffects();
        DataArchive.Close();
        SoundDeviceTest::TearDown();
    }

    // The reader's failed state outlives Close, as in the game; each case starts from a new reader.
    static void FreshDataArchive()
    {
        DataArchive.~ResourceArchive();
        new (&DataArchive) ResourceArchive();
    }

    void OpenArchive(const std::vector<std::pair<std::string, std::string>>& files)
    {
        FreshDataArchive();
        WriteFileBytes("audio.vbf", TableFirstArchive(files));
        ASSERT_TRUE(DataArchive.Open(".\\audio.vbf"));
    }
};

TEST_F(EffectsTest, EveryRefusalLogsItsLineAndLeavesTheEffectSilent)
{
    for (const Refusal& refusal : Refusals()) {
        SCOPED_TRACE(refusal.what);
        OpenArchive({{"effect.wav", refusal.entry}});
        std::remove(".\\debug.log");
        Sound* sound = reinterpret_cast<Sound*>(1);
        EXPECT_EQ(LoadWaveEffect(&sound, "effect.wav", DSBCAPS_CTRLVOLUME, GUID_NULL, 2), E_FAIL);
        EXPECT_EQ(sound, nullptr);
        EXPECT_EQ(ReadDebugLog(), std::vector<std::string>{refusal.logLine});
        DataArchive.Close();
    }
}

TEST_F(EffectsTest, MissingEntryAndAFailedReaderAreLogged)
{
    OpenArchive({{"good.wav", CanonicalWave(16)}, {"short.wav", CanonicalWave(16).substr(0, 20)}});
    Sound* sound = nullptr;
    EXPECT_EQ(LoadWaveEffect(&sound, "absent.wav", 0, GUID_NULL, 1), E_FAIL);
    EXPECT_EQ(LoadWaveEffect(&sound, "short.wav", 0, GUID_NULL, 1), E_FAIL);
    // The reader stays failed, so even a good entry can no longer be reached.
    EXPECT_EQ(LoadWaveEffect(&sound, "good.wav", 0, GUID_NULL, 1), E_FAIL);
    EXPECT_EQ(sound, nullptr);
    EXPECT_EQ(ReadDebugLog(), (std::vector<std::string>{"Error finding file in VBF", "Error reading WAVE file format",
                                                        "Error seeking in VBF file"}));
}

TEST_F(EffectsTest, CanonicalWaveLoadsWithComputedAlignmentAndStoredRate)
{
    OpenArchive({{"Effect.WAV", CanonicalWave(400)}});
    Sound* sound = nullptr;
    EXPECT_EQ(LoadWaveEffect(&sound, "effect.wav", DSBCAPS_CTRLVOLUME, GUID_NULL, 4), S_OK);
    ASSERT_NE(sound, nullptr);
    std::unique_ptr<Sound> owned(sound);
    EXPECT_EQ(sound->bufferCount, 4u);
    EXPECT_EQ(sound->bufferSize, 400u);
    const WAVEFORMATEX& format = sound->source->waveFormat;
    EXPECT_EQ(format.nBlockAlign, 4);
    EXPECT_EQ(format.nAvgBytesPerSec, 12345u);
    EXPECT_EQ(format.nSamplesPerSec, 22050u);
    EXPECT_EQ(ReadBuffer(sound->buffers[3], 0, 400), Bytes(400, 0x05));
    EXPECT_TRUE(ReadDebugLog().empty());
}

TEST_F(EffectsTest, DeviceRefusalLeavesTheEffectSilentWithoutALogLine)
{
    OpenArchive({{"effect.wav", CanonicalWave(0)}});   // no data: the device makes no buffer of 0 bytes
    Sound* sound = nullptr;
    EXPECT_EQ(LoadWaveEffect(&sound, "effect.wav", DSBCAPS_CTRLVOLUME, GUID_NULL, 1), S_OK);
    EXPECT_EQ(sound, nullptr);
    EXPECT_TRUE(ReadDebugLog().empty());
}

TEST_F(EffectsTest, GeneratedArchiveGivesAllFiveWithTheirBufferCounts)
{
    const std::string archive = GameDataPath("audio.vbf");
    if (archive.empty()) {
        GTEST_SKIP() << "QUADRONE_GAME_DIR is not set";
    }
    ASSERT_TRUE(CopyFileA(archive.c_str(), "audio.vbf", FALSE));
    FreshDataArchive();
    LoadSounds();
    Sound* effects[] = {RotateSound, ZapSound, AttachSound, StaticSound, Static2Sound};
    const DWORD counts[] = {5, 2, 1, 5, 5};
    for (int i = 0; i < 5; ++i) {
        ASSERT_NE(effects[i], nullptr) << "effect " << i;
        EXPECT_EQ(effects[i]->bufferCount, counts[i]) << "effect " << i;
        EXPECT_EQ(effects[i]->source->waveFormat.wFormatTag, WAVE_FORMAT_PCM);
    }
    EXPECT_TRUE(ReadDebugLog().empty());
    EXPECT_EQ(PlayEffect(Static2Sound, 0, PlayLooping), DS_OK);
    EXPECT_TRUE(SoundIsPlaying(Static2Sound));

    DeleteEffects();
    for (Sound* effect : {RotateSound, ZapSound, AttachSound, StaticSound, Static2Sound}) {
        EXPECT_EQ(effect, nullptr);
    }
}

TEST_F(EffectsTest, MissingArchiveLeavesEveryEffectSilentAndLogsNothing)
{
    FreshDataArchive();
    LoadSounds();
    for (Sound* effect : {RotateSound, ZapSound, AttachSound, StaticSound, Static2Sound}) {
        EXPECT_EQ(effect, nullptr);
    }
    EXPECT_TRUE(ReadDebugLog().empty());
    EXPECT_TRUE(RecordedMessageBoxes().empty());
}
