// The five effects from the audio archive: the generated set, and how the loader passes on refusals.
#include <cstdio>

#include "archive/resource_archive.h"
#include "audio/effects.h"
#include "audio/effects_win32.h"
#include "audio/sound_win32.h"
#include "audio_test_support.h"
#include "stored_files.h"

namespace {

// A canonical wave whose stored block alignment (9) is a lie and whose byte rate is odd.
Bytes OddWave(uint32_t dataSize)
{
    Bytes wave = MakeWave(dataSize);
    PutLe32(wave, 28, 12345);
    PutLe16(wave, 32, 9);
    return wave;
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

    void OpenArchive(const std::vector<StoredFile>& files)
    {
        ResetDataArchive();
        WriteFileBytes("audio.vbf", TableFirstArchive(files));
        ASSERT_TRUE(DataArchive.Open(".\\audio.vbf"));
    }
};

// Each refusal of the wave reader has its own tests; here the loader passes them on: a logged
// refusal is E_FAIL, the device's refusal is S_OK without a line, and the effect stays silent.
TEST_F(EffectsTest, RefusalsLeaveTheEffectSilent)
{
    const Bytes good = OddWave(4321);
    struct Row {
        std::vector<const char*> names;   // loaded in turn
        size_t refusedAllocation;
        std::vector<std::string> log;
    };
    const Row rows[] = {
        {{"absent.wav"}, 0, {"Error finding file in VBF"}},
        // The reader stays failed, so even a good entry can no longer be reached.
        {{"short.wav", "good.wav"}, 0, {"Error reading WAVE file format", "Error seeking in VBF file"}},
        {{"good.wav"}, 4321, {"NULL wave data"}},
        {{"empty.wav"}, 0, {}},   // the device makes no buffer of 0 bytes
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.names[0]);
        std::remove("debug.log");
        OpenArchive({{"good.wav", good}, {"empty.wav", OddWave(0)},
                     {"short.wav", Bytes(good.begin(), good.begin() + 20)}});
        for (const char* name : row.names) {
            Sound* sound = reinterpret_cast<Sound*>(1);
            RefusedAllocationSize = row.refusedAllocation;
            const HRESULT result = LoadWaveEffect(&sound, name, DSBCAPS_CTRLVOLUME, GUID_NULL, 1);
            RefusedAllocationSize = 0;
            EXPECT_EQ(result, row.log.empty() ? S_OK : E_FAIL) << name;
            EXPECT_EQ(sound, nullptr) << name;
        }
        EXPECT_EQ(ReadDebugLog(), row.log);
    }
}

TEST_F(EffectsTest, CanonicalWaveLoadsWithComputedAlignmentAndStoredRate)
{
    const Bytes wave = OddWave(400);
    OpenArchive({{"Effect.WAV", wave}});
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
    EXPECT_EQ(ReadBuffer(sound->buffers[3], 0, 400), Bytes(wave.begin() + 44, wave.end()));
    EXPECT_TRUE(ReadDebugLog().empty());
}

// The generated archive gives all five with their buffer counts; without it all five are silent.
TEST_F(EffectsTest, GeneratedArchiveGivesAllFiveAndAMissingOneNone)
{
    Sound* const* effects[] = {&RotateSound, &ZapSound, &AttachSound, &StaticSound, &Static2Sound};
    ResetDataArchive();
    LoadSounds();
    for (Sound* const* effect : effects) {
        EXPECT_EQ(*effect, nullptr);
    }
    EXPECT_TRUE(ReadDebugLog().empty());
    EXPECT_TRUE(Boxes().empty());

    const std::string archive = GameDataPath("audio.vbf");
    if (archive.empty()) {
        GTEST_SKIP() << "QUADRONE_GAME_DIR is not set";
    }
    ASSERT_TRUE(CopyFileA(archive.c_str(), "audio.vbf", FALSE));
    ResetDataArchive();
    LoadSounds();
    const DWORD counts[] = {5, 2, 1, 5, 5};
    for (int i = 0; i < 5; ++i) {
        ASSERT_NE(*effects[i], nullptr) << "effect " << i;
        EXPECT_EQ((*effects[i])->bufferCount, counts[i]) << "effect " << i;
    }
    EXPECT_TRUE(ReadDebugLog().empty());
    EXPECT_EQ(PlayEffect(Static2Sound, 0, PlayLooping), DS_OK);
    EXPECT_TRUE(SoundIsPlaying(Static2Sound));
    DeleteEffects();
    for (Sound* const* effect : effects) {
        EXPECT_EQ(*effect, nullptr);
    }
}
