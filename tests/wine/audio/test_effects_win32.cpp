// The five effects from the audio archive: the generated set, and how the loader passes on refusals.
#include <cstdio>
#include <cstdlib>
#include <new>

#include "archive/resource_archive.h"
#include "audio/effects.h"
#include "audio/effects_win32.h"
#include "audio/sound_win32.h"
#include "audio_test_support.h"
#include "stored_files.h"

// While not 0, every allocation of this many bytes or more fails.
size_t RefusedAllocationSize = 0;

void* operator new(size_t size)
{
    void* memory = RefusedAllocationSize != 0 && size >= RefusedAllocationSize ? nullptr : std::malloc(size + 1);
    if (memory == nullptr) {
        throw std::bad_alloc();
    }
    return memory;
}

void operator delete(void* memory) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, size_t) noexcept
{
    std::free(memory);
}

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

// The wave reader's refusals have their unit tests; here the loader passes them on: a logged
// refusal (here memory running out) is E_FAIL, the device's refusal S_OK without a line, and
// either way the effect stays silent.
TEST_F(EffectsTest, RefusalsLeaveTheEffectSilent)
{
    OpenArchive({{"good.wav", OddWave(4321)}, {"empty.wav", OddWave(0)}});
    struct Row {
        const char* name;
        size_t refusedAllocation;
        HRESULT result;
        std::vector<std::string> log;
    };
    const Row rows[] = {{"good.wav", 4321, E_FAIL, {"NULL wave data"}}, {"empty.wav", 0, S_OK, {}}};
    for (const Row& row : rows) {
        std::remove("debug.log");
        Sound* sound = reinterpret_cast<Sound*>(1);
        RefusedAllocationSize = row.refusedAllocation;
        EXPECT_EQ(LoadWaveEffect(&sound, row.name, DSBCAPS_CTRLVOLUME, GUID_NULL, 1), row.result) << row.name;
        RefusedAllocationSize = 0;
        EXPECT_EQ(sound, nullptr) << row.name;
        EXPECT_EQ(ReadDebugLog(), row.log) << row.name;
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
    for (const bool present : {false, true}) {
        if (present && !CopyGameFile("audio.vbf")) {
            GTEST_SKIP() << "QUADRONE_GAME_DIR does not hold audio.vbf";
        }
        ResetDataArchive();
        LoadSounds();
        const DWORD counts[] = {5, 2, 1, 5, 5};
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(*effects[i] == nullptr ? 0 : (*effects[i])->bufferCount, present ? counts[i] : 0) << i;
        }
        EXPECT_TRUE(ReadDebugLog().empty());
        EXPECT_TRUE(Boxes().empty());
    }
    DeleteEffects();
    for (Sound* const* effect : effects) {
        EXPECT_EQ(*effect, nullptr);
    }
}
