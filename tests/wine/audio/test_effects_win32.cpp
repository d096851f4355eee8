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
    return memory != nullptr ? memory : throw std::bad_alloc();
}

void operator delete(void* memory) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, size_t) noexcept
{
    std::free(memory);
}

class EffectsTest : public SoundDeviceTest {
protected:
    void TearDown() override
    {
        DeleteEffects();
        DataArchive.Close();
        SoundDeviceTest::TearDown();
    }
};

// The wave reader's refusals have their unit tests; here the loader passes them on: a logged
// refusal (here memory running out) is E_FAIL, the device's refusal S_OK without a line, and
// either way the effect stays silent.
TEST_F(EffectsTest, RefusalsLeaveTheEffectSilent)
{
    ResetDataArchive();
    WriteFileBytes("audio.vbf", TableFirstArchive({{"good.wav", MakeWave(4321)}, {"empty.wav", MakeWave(0)}}));
    ASSERT_TRUE(DataArchive.Open(".\\audio.vbf"));
    struct Row {
        const char* name;
        size_t refusedAllocation;
        HRESULT result;
        std::vector<std::string> log;
    };
    const Row rows[] = {{"good.wav", 4321, E_FAIL, {"NULL wave data"}}, {"empty.wav", 0, S_OK, {}}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::remove("debug.log");
        Sound* sound = reinterpret_cast<Sound*>(1);
        RefusedAllocationSize = row.refusedAllocation;
        EXPECT_EQ(LoadWaveEffect(&sound, row.name, DSBCAPS_CTRLVOLUME, GUID_NULL, 1), row.result);
        RefusedAllocationSize = 0;
        EXPECT_EQ(sound, nullptr);
        EXPECT_EQ(ReadDebugLog(), row.log);
    }
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
