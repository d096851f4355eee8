// sound_manager.h -- the DirectSound 8 device and the making of multi-buffer sounds.
#pragma once

#include <dsound.h>
#include <mmsystem.h>
#include <windows.h>

class Sound;

class SoundManager {
public:
    SoundManager() = default;
    ~SoundManager();  // releases the device
    SoundManager(const SoundManager&) = delete;
    SoundManager& operator=(const SoundManager&) = delete;

    // Creates the default device, sets the cooperative level and the primary format.
    HRESULT Init(HWND window, DWORD cooperativeLevel, WORD channels, DWORD samplesPerSecond, WORD bitsPerSample);
    HRESULT SetPrimaryFormat(WORD channels, DWORD samplesPerSecond, WORD bitsPerSample);
    // Makes a Sound of `count` buffers over a copy of data; *out stays none when that fails.
    HRESULT CreateSound(
        Sound** out, BYTE* data, DWORD size, const WAVEFORMATEX* format, DWORD flags, GUID algorithm3D, DWORD count);

    IDirectSound8* device = nullptr;
};

// The one manager; the shell creates it before LoadSounds and deletes it after DeleteEffects.
extern SoundManager* GameSoundManager;
