// effects.cpp -- the five effects: loaded from the audio archive, started by the game.
#include "win32/audio/effects.h"

#include <dsound.h>
#include <mmsystem.h>

#include "core/archive/resource_archive.h"
#include "core/audio/effect_set.h"
#include "core/audio/wave_file.h"
#include "core/log/debug_log.h"
#include "ports/sound.h"
#include "win32/audio/sound.h"
#include "win32/audio/sound_manager.h"

Sound* RotateSound = nullptr;
Sound* ZapSound = nullptr;
Sound* AttachSound = nullptr;
Sound* StaticSound = nullptr;
Sound* Static2Sound = nullptr;

namespace {

WAVEFORMATEX ToWaveFormatEx(const WaveFormat& format)
{
    WAVEFORMATEX out = {};
    out.wFormatTag = format.formatTag;
    out.nChannels = format.channels;
    out.nSamplesPerSec = format.samplesPerSec;
    out.nAvgBytesPerSec = format.avgBytesPerSec;
    out.nBlockAlign = format.blockAlign;
    out.wBitsPerSample = format.bitsPerSample;
    return out;
}

}  // namespace

HRESULT LoadWaveEffect(Sound** out, const char* entryName, DWORD creationFlags, GUID algorithm3D, DWORD count)
{
    *out = nullptr;
    StoredWave wave;
    if (!ReadStoredWave(DataArchive, entryName, wave)) {
        return E_FAIL;
    }
    if (GameSoundManager != nullptr) {
        const WAVEFORMATEX format = ToWaveFormatEx(wave.format);
        // The one-byte stand-in keeps an empty data chunk from reading as "no data".
        BYTE empty = 0;
        BYTE* data = wave.pcm.empty() ? &empty : wave.pcm.data();
        GameSoundManager->CreateSound(
            out, data, static_cast<DWORD>(wave.pcm.size()), &format, creationFlags, algorithm3D, count);
    }
    return S_OK;
}

HRESULT LoadSounds()
{
    char path[DataPathSize];
    MakeDataPath(path, "audio.vbf");
    if (!DataArchive.Open(path)) {
        return E_FAIL;
    }
    for (const EffectSlot& effect : Effects) {
        LoadWaveEffect(effect.sound, effect.entryName, DSBCAPS_CTRLVOLUME, GUID_NULL, effect.voiceCount);
    }
    DataArchive.Close();
    return S_OK;
}

void DeleteEffects()
{
    for (const EffectSlot& effect : Effects) {
        delete *effect.sound;
        *effect.sound = nullptr;
    }
}

ResultCode PlayEffect(Sound* sound, uint32_t priority, uint32_t flags)
{
    return StartSound(sound, priority, flags, 0);
}
