// device.h -- what the parts of the SDL sound share: the one device, its lock, and the mixing that
// each part adds in the device's callback.
#pragma once

#include <SDL.h>

#include <cstdint>

extern SDL_AudioDeviceID AudioDevice;  // 0 while no device is open

#ifdef __EMSCRIPTEN__
// The page mixes on its one thread, between the game's frames: nothing to hold.
class DeviceLock {
public:
    DeviceLock() = default;
    DeviceLock(const DeviceLock&) = delete;
    DeviceLock& operator=(const DeviceLock&) = delete;
};
#else
// Holds the device's lock: the callback runs under it, so it never sees a change half made. Does
// nothing without a device, when no callback runs.
class DeviceLock {
public:
    DeviceLock() : device(AudioDevice)
    {
        if (device != 0) {
            SDL_LockAudioDevice(device);
        }
    }
    ~DeviceLock()
    {
        if (device != 0) {
            SDL_UnlockAudioDevice(device);
        }
    }
    DeviceLock(const DeviceLock&) = delete;
    DeviceLock& operator=(const DeviceLock&) = delete;

private:
    SDL_AudioDeviceID device;
};
#endif

// What the device plays: `frames` stereo frames of music and effects, 16-bit.
void MixDeviceFrames(int16_t* out, uint32_t frames);

// Called under the device lock by the mixing: each adds its sound to the stereo sum.
void MixEffects(int32_t* sum, uint32_t frames);
void MixMusic(int32_t* sum, uint32_t frames);

// Deletes the five effects and sets them to none.
void DeleteEffects();
// Ends the music thread and closes the decoder; repeatable.
void CloseMusic();
