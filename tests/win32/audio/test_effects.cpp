// Effects from the audio archive: how the loader passes on refusals. The generated set is heard
// in the end-to-end tests.
#include <cstdio>
#include <cstdlib>
#include <new>
#include <utility>

#include "audio_test_support.h"
#include "core/archive/resource_archive.h"
#include "ports/sound.h"
#include "stored_files.h"
#include "win32/audio/effects.h"
#include "win32/audio/sound.h"

// While not 0, every allocation of this many bytes or more fails. The runtime's delete frees it.
size_t RefusedAllocationSize = 0;

void* operator new(size_t size)
{
    void* memory = RefusedAllocationSize != 0 && size >= RefusedAllocationSize ? nullptr : std::malloc(size + 1);
    return memory != nullptr ? memory : throw std::bad_alloc();
}

// The wave reader's refusals have their unit tests; here the loader passes them on: a logged
// refusal (here memory running out) is E_FAIL, the device's refusal S_OK without a line, and
// either way the effect stays silent.
TEST_F(SoundDeviceTest, EffectRefusalsLeaveItSilent)
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
    DataArchive.Close();
}

// The generated set: all five load, each with as many copies as the game lets sound at once.
TEST_F(SoundDeviceTest, GeneratedEffectsLoadWithTheirBufferCounts)
{
    ASSERT_TRUE(CopyGameFile("audio.vbf"));
    ResetDataArchive();
    ASSERT_EQ(LoadSounds(), S_OK);
    const std::pair<Sound*, DWORD> effects[] = {
        {RotateSound, 5}, {ZapSound, 2}, {AttachSound, 1}, {StaticSound, 5}, {Static2Sound, 5}};
    for (const auto& [sound, count] : effects) {
        ASSERT_NE(sound, nullptr);
        EXPECT_EQ(sound->bufferCount, count);
    }
    EXPECT_TRUE(ReadDebugLog().empty());
    DeleteEffects();
}
