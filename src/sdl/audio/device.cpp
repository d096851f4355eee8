// device.cpp -- the one SDL audio device: 44100 Hz 16-bit stereo, fed by the game's own mixer.
#include "sdl/audio/device.h"

#include <algorithm>
#include <cstdio>

#include "core/audio/mixer.h"
#include "core/log/debug_log.h"
#include "sdl/audio/audio.h"

SDL_AudioDeviceID AudioDevice = 0;

namespace {

constexpr uint32_t MixBlockFrames = 1024;  // 23 ms: the device's period, and the sum's size

int32_t Sum[2 * MixBlockFrames];  // the callback's alone

void SDLCALL MixCallback(void*, Uint8* stream, int length)
{
    MixDeviceFrames(reinterpret_cast<int16_t*>(stream), static_cast<uint32_t>(length) / 4);
}

void LogNoDevice()
{
    char line[256];
    std::snprintf(line, sizeof line, "No audio device, the game plays silently: %s", SDL_GetError());
    WriteDebugLog(line);
}

}  // namespace

void MixDeviceFrames(int16_t* out, uint32_t frames)
{
    while (frames > 0) {
        const uint32_t block = std::min(frames, MixBlockFrames);
        std::fill(Sum, Sum + 2 * block, 0);
        MixMusic(Sum, block);
        MixEffects(Sum, block);
        ClipToPcm16(Sum, out, 2 * block);
        out += 2 * block;
        frames -= block;
    }
}

bool StartAudio()
{
    if (AudioDevice != 0) {
        return true;
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        LogNoDevice();
        return false;
    }
    // Any other format the system wants is SDL's to convert to.
    SDL_AudioSpec wanted = {};
    wanted.freq = MixRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = MixBlockFrames;
    wanted.callback = MixCallback;
    AudioDevice = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (AudioDevice == 0) {
        LogNoDevice();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    SDL_PauseAudioDevice(AudioDevice, 0);
    return true;
}

void StopAudio()
{
    // The music thread goes first, while the device it feeds is still there.
    CloseMusic();
    if (AudioDevice == 0) {
        return;
    }
    SDL_CloseAudioDevice(AudioDevice);
    AudioDevice = 0;
    DeleteEffects();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}
