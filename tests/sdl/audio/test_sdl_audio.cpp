// The SDL sound on SDL's disk driver, which writes what the device plays to a file in real time:
// the effects with their voices, the music judged sample by sample against its decoded loop, and
// the silent game without a device. Built twice: with the desktop's music thread, and with the
// browser's feed, which the main loop runs once a frame (QUADRONE_FRAME_FEED).
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include <vorbis/vorbisfile.h>

#include "core/audio/mixer.h"
#include "ogg_encoder.h"
#include "ports/sound.h"
#include "sdl/audio/audio.h"
#include "sdl/audio/device.h"
#include "sdl/audio/effects.h"
#include "stored_files.h"
#include "test_support.h"

namespace {

std::vector<int16_t> Samples(const std::vector<uint8_t>& bytes)
{
    std::vector<int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

std::vector<int16_t> DecodeWhole(const char* path)
{
    OggVorbis_File file;
    std::vector<uint8_t> bytes;
    char piece[4096];
    long count = ov_fopen(path, &file) == 0 ? 1 : 0;
    while (count > 0 && (count = ov_read(&file, piece, sizeof piece, 0, 2, 1, nullptr)) > 0) {
        bytes.insert(bytes.end(), piece, piece + count);
    }
    ov_clear(&file);
    return Samples(bytes);
}

uintmax_t PlayedBytes()
{
    std::error_code error;
    const uintmax_t size = std::filesystem::file_size("played.raw", error);
    return error ? 0 : size;
}

// Until the device has taken that much more sound, however slowly a loaded machine runs it, with
// a frame every 16 ms; the browser's main loop feeds the music in each.
void PlayFor(uint32_t milliseconds)
{
    const uintmax_t target = PlayedBytes() + uintmax_t{milliseconds} * MixRate * 4 / 1000;
    for (const uint32_t giveUp = SDL_GetTicks() + 30000; PlayedBytes() < target && SDL_GetTicks() < giveUp;) {
#ifdef QUADRONE_FRAME_FEED
        FeedMusic();
#endif
        SDL_Delay(16);
    }
}

class SdlAudio : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", "played.raw", 1);
    }
    void TearDown() override
    {
        StopAudio();
        TempDirTest::TearDown();
    }
    // What the device played, once it is closed.
    std::vector<int16_t> Played()
    {
        StopAudio();
        return Samples(ReadFileBytes("played.raw"));
    }
};

}  // namespace

// The five effects come from audio.vbf with the Windows build's voices. A start beyond them takes a
// sounding voice without rewinding it; a one-shot ends by itself and is rewound; static2 loops
// until it is stopped.
TEST_F(SdlAudio, EffectsPlayOnTheirVoices)
{
    HandArchive archive;
    const char* names[] = {"rotate.wav", "zap2.wav", "attach.wav", "static.wav", "static2.wav"};
    for (const char* name : names) {
        archive.Store(name, MakeWave(8820));  // a tenth of a second
    }
    WriteFileBytes(".\\audio.vbf", archive.Finish(5, 5));  // where MakeDataPath looks
    ASSERT_TRUE(StartAudio());
    LoadSounds();
    Sound* const sounds[] = {RotateSound, ZapSound, AttachSound, StaticSound, Static2Sound};
    const uint32_t voices[] = {5, 2, 1, 5, 5};
    for (int i = 0; i < 5; ++i) {
        ASSERT_NE(sounds[i], nullptr) << names[i];
        EXPECT_EQ(sounds[i]->voiceCount, voices[i]) << names[i];
    }
    {
        const DeviceLock hold;  // the voices stand still: each start takes the next free one
        for (uint32_t i = 0; i < 5; ++i) {
            PlayEffect(RotateSound, 0, 0);
            RotateSound->voices[i].position = uint64_t{i} << 40;
        }
        PlayEffect(RotateSound, 0, 0);
        for (uint32_t i = 0; i < 5; ++i) {
            EXPECT_TRUE(RotateSound->voices[i].playing) << i;
            EXPECT_EQ(RotateSound->voices[i].position, uint64_t{i} << 40) << i;
        }
    }
    PlayEffect(Static2Sound, 0, PlayLooping);
    for (int wait = 0; wait < 500 && SoundIsPlaying(RotateSound); ++wait) {
        SDL_Delay(10);
    }
    PlayFor(150);  // static2 is past its end
    EXPECT_FALSE(SoundIsPlaying(RotateSound));
    EXPECT_TRUE(SoundIsPlaying(Static2Sound));
    EXPECT_EQ(StopSound(Static2Sound), ResultOk);
    EXPECT_FALSE(SoundIsPlaying(Static2Sound));
    {
        const DeviceLock hold;
        EXPECT_EQ(RotateSound->voices[0].position, 0u);
        EXPECT_NE(Static2Sound->voices[0].position, 0u);
    }
    EXPECT_EQ(ResetSound(Static2Sound), ResultOk);
    EXPECT_EQ(Static2Sound->voices[0].position, 0u);
    const std::vector<int16_t> played = Played();
    EXPECT_NE(std::count(played.begin(), played.end(), 0), static_cast<long>(played.size()));
}

// Missing, loop1.dat gives the decoder's boxes and the Windows build's lines. There, it plays from
// its first sample on, across its loop point and a pause without a jump or a gap, and 5 dB down at
// -500: each played frame is the next one of the loop, at full volume or at that gain.
TEST_F(SdlAudio, MusicRunsOnAcrossItsLoopPointAPauseAndAVolumeChange)
{
    ASSERT_TRUE(StartAudio());
    EXPECT_FALSE(StartMusic());
    std::vector<std::string> boxes;
    for (const RecordedBox& box : RecordedMessageBoxes()) {
        boxes.push_back(box.text);
    }
    EXPECT_EQ(boxes, (std::vector<std::string>{"Error opening file", "Bitstream is not Vorbis data"}));
    EXPECT_EQ(ReadDebugLog(), (std::vector<std::string>{"Error opening ogg file", "Error playing ogg file"}));

    StereoMusic loop;
    for (int i = 0; i < 57330; ++i) {  // 1.3 s
        loop.left.push_back(0.5f * std::cos(i * 0.0628f));
        loop.right.push_back(0.4f * std::sin(i * 0.094f));
    }
    WriteFileBytes(".\\loop1.dat", EncodeOggVorbis(loop, 44100));
    const std::vector<int16_t> decoded = DecodeWhole(".\\loop1.dat");
    ASSERT_GT(decoded.size(), 100000u);
    ASSERT_TRUE(StartMusic());
    PlayFor(1500);
    PauseMusic();
    PlayFor(400);
    ResumeMusic();
    PlayFor(1200);
    SetMusicVolume(-500);
    PlayFor(500);
    const std::vector<int16_t> played = Played();

    const size_t loopFrames = decoded.size() / 2;
    const double gain = std::pow(10.0, -500 / 2000.0);
    size_t at = 0, music = 0, resumes = 0, softFrames = 0;
    while (at < played.size() && played[at] == 0 && played[at + 1] == 0) {
        at += 2;
    }
    for (bool silent = false; at + 1 < played.size(); at += 2) {
        const int16_t left = decoded[2 * (music % loopFrames)], right = decoded[2 * (music % loopFrames) + 1];
        if (softFrames == 0 && played[at] == left && played[at + 1] == right) {
            resumes += silent;
        } else if (std::abs(played[at] - left * gain) < 2 && std::abs(played[at + 1] - right * gain) < 2) {
            ++softFrames;
        } else {
            ASSERT_TRUE(played[at] == 0 && played[at + 1] == 0) << "a jump at music frame " << music;
            silent = true;
            continue;
        }
        silent = false;
        ++music;
    }
    EXPECT_GT(music, 2 * loopFrames);
    EXPECT_EQ(resumes, 1u);
    EXPECT_GT(softFrames, 4410u);
}

// Without a device the game plays on silently: one line says why, and every call is harmless.
TEST_F(SdlAudio, WithoutADeviceEveryCallIsHarmless)
{
    setenv("SDL_AUDIODRIVER", "none-such", 1);
    EXPECT_FALSE(StartAudio());
    EXPECT_FALSE(StartMusic());
    EXPECT_EQ(PlayEffect(RotateSound, 0, PlayLooping), ResultNotInitialized);
    EXPECT_FALSE(SoundIsPlaying(Static2Sound));
    EXPECT_EQ(StopSound(ZapSound), ResultNotInitialized);
    EXPECT_EQ(ResetSound(AttachSound), ResultNotInitialized);
    ResumeMusic();
    PauseMusic();
    SetMusicVolume(-500);
    StopAudio();
    const std::vector<std::string> log = ReadDebugLog();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].rfind("No audio device, the game plays silently: ", 0), 0u) << log[0];
    EXPECT_EQ(log[1], "Error opening ogg file");
    EXPECT_EQ(log[2], "Error playing ogg file");
}
