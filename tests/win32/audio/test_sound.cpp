// Sound device and multi-buffer sounds on real DirectSound; lost memory through a patched status.
#include <algorithm>
#include <cstring>
#include <memory>
#include <numeric>

#include "audio_test_support.h"
#include "core/common/random.h"
#include "ports/sound.h"
#include "win32/audio/sound.h"

namespace {

WAVEFORMATEX Format(WORD channels, WORD bits)
{
    const WORD block = static_cast<WORD>(channels * bits / 8);
    return {WAVE_FORMAT_PCM, channels, 44100, 44100u * block, block, bits, 0};
}

// Bytes that differ from their neighbours, so a shifted or partial copy shows.
Bytes Counting(size_t size)
{
    Bytes bytes(size);
    std::iota(bytes.begin(), bytes.end(), uint8_t{7});
    return bytes;
}

std::unique_ptr<Sound> MakeSound(SoundManager& manager, Bytes& data, WAVEFORMATEX format, DWORD count)
{
    Sound* sound = nullptr;
    EXPECT_EQ(manager.CreateSound(
                  &sound, data.data(), static_cast<DWORD>(data.size()), &format, DSBCAPS_CTRLVOLUME, GUID_NULL, count),
        S_OK);
    EXPECT_NE(sound, nullptr);
    return std::unique_ptr<Sound>(sound);
}

// While MemoryTaken every buffer reads as lost, else as stopped; Restore answers RestoreAnswers
// in turn (the last one repeating), and its DS_OK gives the memory back.
bool MemoryTaken = false;
std::vector<HRESULT> RestoreAnswers;
int RestoreCalls = 0;

HRESULT STDMETHODCALLTYPE TakenStatus(IDirectSoundBuffer*, DWORD* status)
{
    *status = MemoryTaken ? DSBSTATUS_BUFFERLOST : 0;
    return DS_OK;
}

HRESULT STDMETHODCALLTYPE ScriptedRestore(IDirectSoundBuffer*)
{
    const HRESULT answer = RestoreAnswers[std::min<size_t>(RestoreCalls++, RestoreAnswers.size() - 1)];
    MemoryTaken = MemoryTaken && answer != DS_OK;
    return answer;
}

}  // namespace

// A refused sound is none, and none is harmless to every operation.
TEST_F(SoundDeviceTest, CreateSoundRefusesWhatItCannotUseAndNoneIsHarmless)
{
    Bytes data = Counting(400);
    const WAVEFORMATEX format = Format(2, 16);
    Sound* sound = nullptr;
    EXPECT_EQ(manager.CreateSound(&sound, nullptr, 400, &format, 0, GUID_NULL, 1), E_INVALIDARG);
    EXPECT_EQ(manager.CreateSound(nullptr, data.data(), 400, &format, 0, GUID_NULL, 1), E_INVALIDARG);
    EXPECT_EQ(manager.CreateSound(&sound, data.data(), 400, &format, 0, GUID_NULL, 0), E_INVALIDARG);
    // The device's own refusal (a size below its minimum) passes through unchanged.
    EXPECT_EQ(manager.CreateSound(&sound, data.data(), 0, &format, 0, GUID_NULL, 1), DSERR_INVALIDPARAM);
    EXPECT_EQ(sound, nullptr);

    SoundManager idle;
    EXPECT_EQ(idle.CreateSound(&sound, data.data(), 400, &format, 0, GUID_NULL, 1), CO_E_NOTINITIALIZED);
    EXPECT_EQ(idle.SetPrimaryFormat(2, 44100, 16), CO_E_NOTINITIALIZED);

    EXPECT_EQ(StartSound(sound, 0, 0, 0), CO_E_NOTINITIALIZED);
    EXPECT_EQ(PlayEffect(sound, 0, PlayLooping), CO_E_NOTINITIALIZED);
    EXPECT_EQ(StopSound(sound), CO_E_NOTINITIALIZED);
    EXPECT_EQ(ResetSound(sound), CO_E_NOTINITIALIZED);
    EXPECT_FALSE(SoundIsPlaying(sound));
}

// The copies share the data; each start takes the first copy that is not playing, and with
// all of them playing one chosen at random plays again.
TEST_F(SoundDeviceTest, NBuffersShareOneCopyAndPlayUpToNCopiesThenOneAtRandom)
{
    Bytes data = Counting(176400);
    std::unique_ptr<Sound> sound = MakeSound(manager, data, Format(2, 16), 3);
    ASSERT_TRUE(sound);
    for (DWORD i = 0; i < 3; ++i) {
        EXPECT_EQ(ReadBuffer(sound->buffers[i], 0, 176400), data) << "buffer " << i;
        EXPECT_EQ(FindFreeBuffer(sound.get()), sound->buffers[i]);
        EXPECT_EQ(PlayEffect(sound.get(), 0, PlayLooping), DS_OK);
    }
    SeedRandom(7);
    const int expected = Random() % 3;
    SeedRandom(7);
    EXPECT_EQ(FindFreeBuffer(sound.get()), sound->buffers[expected]);
    EXPECT_EQ(StopSound(sound.get()), DS_OK);
    EXPECT_FALSE(SoundIsPlaying(sound.get()));
    EXPECT_EQ(ResetSound(sound.get()), DS_OK);
    DWORD play = 1, write = 1;
    sound->buffers[2]->GetCurrentPosition(&play, &write);
    EXPECT_EQ(play, 0u);
}

// The system took the memory: the start restores, refills, rewinds every copy and plays; or,
// when Restore keeps failing otherwise than "still lost", gives up with that answer.
TEST_F(SoundDeviceTest, LostMemoryIsRestoredRefilledRewoundAndPlayedOrGivenUpOn)
{
    struct Row {
        const char* what;
        std::vector<HRESULT> answers;
        HRESULT result;
        int restoreCalls;
    };
    const Row rows[] = {
        {"restored", {DSERR_BUFFERLOST, DSERR_BUFFERLOST, DS_OK}, DS_OK, 3},
        // "Still lost" answers are waited out; only the other refusals count towards giving up.
        {"given up", {DSERR_BUFFERLOST, DSERR_BUFFERLOST, DSERR_INVALIDCALL}, DSERR_INVALIDCALL,
            2 + MaxRestoreFailures},
    };
    // A second of sound, so that it still plays when it is looked at; 2 ms ended first under load.
    Bytes data = Counting(176400);
    const DWORD size = static_cast<DWORD>(data.size());
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        std::unique_ptr<Sound> sound = MakeSound(manager, data, Format(2, 16), 2);
        ASSERT_TRUE(sound);
        bool restored = true;
        EXPECT_EQ(RestoreSoundBuffer(sound->buffers[0], &restored), S_FALSE);
        EXPECT_FALSE(restored);
        void* region = nullptr;
        DWORD locked = 0;
        ASSERT_EQ(sound->buffers[0]->Lock(0, size, &region, &locked, nullptr, nullptr, 0), DS_OK);
        std::memset(region, 0xEE, locked);  // the memory is gone
        sound->buffers[0]->Unlock(region, locked, nullptr, 0);
        sound->buffers[1]->SetCurrentPosition(200);
        MemoryTaken = true;
        RestoreAnswers = row.answers;
        RestoreCalls = 0;
        const DWORD start = timeGetTime();
        {
            PatchedMethod status(sound->buffers[0], Method(&IDirectSoundBuffer::GetStatus), &TakenStatus);
            PatchedMethod restore(sound->buffers[0], Method(&IDirectSoundBuffer::Restore), &ScriptedRestore);
            EXPECT_EQ(StartSound(sound.get(), 0, 0, -300), row.result);
        }
        EXPECT_GE(timeGetTime() - start, 15u);  // two waits of 10 ms while the memory was still taken
        EXPECT_EQ(RestoreCalls, row.restoreCalls);
        const bool played = row.result == DS_OK;
        EXPECT_EQ(ReadBuffer(sound->buffers[0], 0, size) == data, played);
        DWORD cursor = 0, write = 0;
        sound->buffers[1]->GetCurrentPosition(&cursor, &write);
        EXPECT_EQ(cursor, played ? 0u : 200u);
        LONG volume = 1;
        sound->buffers[0]->GetVolume(&volume);
        EXPECT_EQ(volume, played ? -300 : 0);
        EXPECT_EQ(SoundIsPlaying(sound.get()), played);
        StopSound(sound.get());
    }
}
