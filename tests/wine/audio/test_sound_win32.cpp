// Sound device and multi-buffer sounds on real DirectSound; restore of lost memory on a scripted buffer.
#include <algorithm>
#include <cstring>
#include <memory>
#include <set>

#include "audio/effects.h"
#include "audio/sound_win32.h"
#include "audio_test_support.h"
#include "common/random.h"

namespace {

WAVEFORMATEX Format(WORD channels, WORD bits)
{
    WAVEFORMATEX format = {};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = channels;
    format.nSamplesPerSec = 44100;
    format.wBitsPerSample = bits;
    format.nBlockAlign = static_cast<WORD>(channels * bits / 8);
    format.nAvgBytesPerSec = format.nBlockAlign * 44100;
    return format;
}

Bytes Counting(size_t size)
{
    Bytes bytes(size);
    for (size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<uint8_t>(i * 31 + 7);
    }
    return bytes;
}

int PlayingCount(Sound* sound)
{
    int playing = 0;
    for (DWORD i = 0; i < sound->bufferCount; ++i) {
        DWORD status = 0;
        sound->buffers[i]->GetStatus(&status);
        playing += (status & DSBSTATUS_PLAYING) ? 1 : 0;
    }
    return playing;
}

std::unique_ptr<Sound> MakeSound(SoundManager& manager, Bytes& data, WAVEFORMATEX format, DWORD count)
{
    Sound* sound = nullptr;
    EXPECT_EQ(manager.CreateSound(&sound, data.data(), static_cast<DWORD>(data.size()), &format,
                                  DSBCAPS_CTRLVOLUME, GUID_NULL, count), S_OK);
    EXPECT_NE(sound, nullptr);
    return std::unique_ptr<Sound>(sound);
}

// A sound over scripted buffers, as CreateSound would assemble it.
std::unique_ptr<Sound> ScriptedSound(std::vector<ScriptedBuffer*> buffers, const Bytes& data)
{
    std::unique_ptr<IDirectSoundBuffer*[]> slots(new IDirectSoundBuffer*[buffers.size()]);
    for (size_t i = 0; i < buffers.size(); ++i) {
        slots[i] = buffers[i];
    }
    auto source = std::make_unique<WaveSource>();
    source->Open(data.data(), static_cast<DWORD>(data.size()), Format(2, 16));
    return std::make_unique<Sound>(std::move(slots), static_cast<DWORD>(data.size()),
                                   static_cast<DWORD>(buffers.size()), std::move(source));
}

}  // namespace

TEST_F(SoundDeviceTest, PrimaryBufferTakesTheGameFormat)
{
    DSBUFFERDESC description = {};
    description.dwSize = sizeof description;
    description.dwFlags = DSBCAPS_PRIMARYBUFFER;
    IDirectSoundBuffer* primary = nullptr;
    ASSERT_EQ(manager.device->CreateSoundBuffer(&description, &primary, nullptr), DS_OK);
    WAVEFORMATEX format = {};
    ASSERT_EQ(primary->GetFormat(&format, sizeof format, nullptr), DS_OK);
    primary->Release();
    EXPECT_EQ(format.nChannels, 2);
    EXPECT_EQ(format.nSamplesPerSec, 44100u);
    EXPECT_EQ(format.wBitsPerSample, 16);
    EXPECT_EQ(format.nBlockAlign, 4);
    EXPECT_EQ(format.nAvgBytesPerSec, 176400u);
}

TEST_F(SoundDeviceTest, CreateSoundRefusesWhatItCannotUse)
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
}

TEST_F(SoundDeviceTest, NBuffersShareOneCopyAndPlayUpToNCopiesThenOneAtRandom)
{
    Bytes data = Counting(176400);
    std::unique_ptr<Sound> sound = MakeSound(manager, data, Format(2, 16), 3);
    ASSERT_TRUE(sound);
    ASSERT_EQ(sound->bufferCount, 3u);
    EXPECT_EQ(sound->bufferSize, 176400u);
    for (DWORD i = 0; i < 3; ++i) {
        EXPECT_EQ(ReadBuffer(sound->buffers[i], 0, 176400), data) << "buffer " << i;
    }

    for (int started = 1; started <= 3; ++started) {
        EXPECT_EQ(StartSound(sound.get(), 0, DSBPLAY_LOOPING, 0), DS_OK);
        EXPECT_EQ(PlayingCount(sound.get()), started);
    }
    EXPECT_TRUE(SoundIsPlaying(sound.get()));

    std::set<IDirectSoundBuffer*> chosen;
    for (uint32_t seed = 1; seed <= 12; ++seed) {
        SeedRandom(seed);
        const int expected = Random() % 3;
        SeedRandom(seed);
        IDirectSoundBuffer* buffer = FindFreeBuffer(sound.get());
        EXPECT_EQ(buffer, sound->buffers[expected]) << "seed " << seed;
        chosen.insert(buffer);
    }
    EXPECT_EQ(chosen.size(), 3u);
    EXPECT_EQ(StartSound(sound.get(), 0, DSBPLAY_LOOPING, 0), DS_OK);
    EXPECT_EQ(PlayingCount(sound.get()), 3);

    EXPECT_EQ(StopSound(sound.get()), DS_OK);
    EXPECT_FALSE(SoundIsPlaying(sound.get()));
    EXPECT_EQ(ResetSound(sound.get()), DS_OK);
    for (DWORD i = 0; i < 3; ++i) {
        DWORD play = 1, write = 1;
        sound->buffers[i]->GetCurrentPosition(&play, &write);
        EXPECT_EQ(play, 0u) << "buffer " << i;
    }
}

TEST_F(SoundDeviceTest, OnceStopsAtItsEndAndLoopingGoesOn)
{
    Bytes data(8820, 0x40);   // 50 ms of 8-bit stereo
    std::unique_ptr<Sound> once = MakeSound(manager, data, Format(2, 8), 1);
    std::unique_ptr<Sound> looping = MakeSound(manager, data, Format(2, 8), 1);
    ASSERT_TRUE(once && looping);
    EXPECT_EQ(PlayEffect(once.get(), 0, 0), DS_OK);
    EXPECT_EQ(PlayEffect(looping.get(), 0, PlayLooping), DS_OK);
    EXPECT_TRUE(SoundIsPlaying(once.get()));
    for (int waited = 0; waited < 300 && SoundIsPlaying(once.get()); ++waited) {
        Sleep(10);
    }
    EXPECT_FALSE(SoundIsPlaying(once.get()));
    DWORD status = 0;
    looping->buffers[0]->GetStatus(&status);
    EXPECT_EQ(status & (DSBSTATUS_PLAYING | DSBSTATUS_LOOPING), DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
    StopSound(looping.get());
}

TEST_F(SoundDeviceTest, DataShorterThanTheBufferIsPaddedWithSilenceOfItsWidth)
{
    struct Case {
        WORD bits;
        DWORD dataSize;
        uint8_t silence;
    };
    for (const Case& c : {Case{8, 600, 0x80}, Case{16, 600, 0x00}, Case{8, 0, 0x80}, Case{16, 0, 0x00}}) {
        SCOPED_TRACE(std::to_string(c.bits) + " bits, " + std::to_string(c.dataSize) + " bytes");
        const WAVEFORMATEX format = Format(2, c.bits);
        DSBUFFERDESC description = {};
        description.dwSize = sizeof description;
        description.dwBufferBytes = 1000;
        description.lpwfxFormat = const_cast<WAVEFORMATEX*>(&format);
        std::unique_ptr<IDirectSoundBuffer*[]> slots(new IDirectSoundBuffer*[1]);
        ASSERT_EQ(manager.device->CreateSoundBuffer(&description, &slots[0], nullptr), DS_OK);
        IDirectSoundBuffer* buffer = slots[0];
        // Something other than silence first, so the padding is seen to be written.
        void* region;
        DWORD locked;
        buffer->Lock(0, 1000, &region, &locked, nullptr, nullptr, 0);
        std::memset(region, 0x33, locked);
        buffer->Unlock(region, locked, nullptr, 0);

        const Bytes data(c.dataSize, 0x11);
        auto source = std::make_unique<WaveSource>();
        ASSERT_TRUE(source->Open(data.data(), c.dataSize, format));
        Sound sound(std::move(slots), 1000, 1, std::move(source));
        Bytes expected(1000, c.silence);
        std::fill(expected.begin(), expected.begin() + c.dataSize, 0x11);
        EXPECT_EQ(ReadBuffer(buffer, 0, 1000), expected);
    }
}

TEST(Sound, MissingEffectIsHarmless)
{
    EXPECT_EQ(StartSound(nullptr, 0, 0, 0), CO_E_NOTINITIALIZED);
    EXPECT_EQ(PlayEffect(nullptr, 0, PlayLooping), CO_E_NOTINITIALIZED);
    EXPECT_EQ(StopSound(nullptr), CO_E_NOTINITIALIZED);
    EXPECT_EQ(ResetSound(nullptr), CO_E_NOTINITIALIZED);
    EXPECT_FALSE(SoundIsPlaying(nullptr));
    EXPECT_EQ(FindFreeBuffer(nullptr), nullptr);
    EXPECT_EQ(FillSoundBuffer(nullptr, nullptr), CO_E_NOTINITIALIZED);
    EXPECT_EQ(RestoreSoundBuffer(nullptr, nullptr), CO_E_NOTINITIALIZED);
}

TEST(SoundRestore, LostMemoryIsRestoredRefilledRewoundAndPlayed)
{
    const Bytes data = Counting(400);
    ScriptedBuffer first(400), second(400);
    std::unique_ptr<Sound> sound = ScriptedSound({&first, &second}, data);
    ASSERT_EQ(first.memory, data);
    bool restored = true;
    EXPECT_EQ(RestoreSoundBuffer(&first, &restored), S_FALSE);
    EXPECT_FALSE(restored);
    EXPECT_EQ(first.restoreCalls, 0);

    // The system takes the memory: the buffer reads as lost and its bytes are gone.
    first.status = DSBSTATUS_BUFFERLOST;
    first.memory.assign(400, 0xEE);
    first.restoreAnswers = {DSERR_BUFFERLOST, DSERR_BUFFERLOST, DS_OK};
    first.calls.clear();
    second.calls.clear();
    const DWORD start = GetTickCount();
    EXPECT_EQ(StartSound(sound.get(), 0, 0, -300), DS_OK);
    EXPECT_GE(GetTickCount() - start, 15u);   // two waits of 10 ms while the memory was still taken
    EXPECT_EQ(first.restoreCalls, 3);
    EXPECT_EQ(first.memory, data);
    EXPECT_EQ(first.calls, (std::vector<std::string>{"Lock", "Unlock", "SetCurrentPosition 0", "SetVolume -300",
                                                      "Play 0"}));
    EXPECT_EQ(second.calls, (std::vector<std::string>{"SetCurrentPosition 0"}));
}

TEST(SoundRestore, GivesUpAfterRepeatedFailuresOtherThanStillLost)
{
    const Bytes data = Counting(64);
    ScriptedBuffer buffer(64);
    std::unique_ptr<Sound> sound = ScriptedSound({&buffer}, data);
    buffer.status = DSBSTATUS_BUFFERLOST;
    // "Still lost" answers are waited out; only the other refusals count towards giving up.
    buffer.restoreAnswers = {DSERR_BUFFERLOST, DSERR_BUFFERLOST, DSERR_INVALIDCALL};
    buffer.calls.clear();
    EXPECT_EQ(StartSound(sound.get(), 0, 0, 0), DSERR_INVALIDCALL);
    EXPECT_EQ(buffer.restoreCalls, 2 + MaxRestoreFailures);
    EXPECT_TRUE(buffer.calls.empty());
}
