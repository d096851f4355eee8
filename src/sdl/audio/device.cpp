// device.cpp -- the desktop's one SDL audio device: 44100 Hz 16-bit stereo, fed by the game's own
// mixer from SDL's audio thread.
#include "sdl/audio/device.h"

#include <cstdio>

#include "core/audio/mixer.h"
#include "core/log/debug_log.h"
#include "sdl/audio/audio.h"

SDL_AudioDeviceID AudioDevice = 0;

namespace {

constexpr uint16_t DevicePeriodFrames = 1024;  // 23 ms

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
    wanted.samples = DevicePeriodFrames;
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
