// effects.cpp -- the five effects: loaded from the audio archive, started, stopped and rewound by
// the game, mixed by the device.
#include "sdl/audio/effects.h"

#include <new>
#include <utility>

#include "core/archive/resource_archive.h"
#include "core/audio/effect_set.h"
#include "core/audio/wave_file.h"
#include "core/log/debug_log.h"
#include "ports/sound.h"
#include "sdl/audio/audio.h"
#include "sdl/audio/device.h"

Sound* RotateSound = nullptr;
Sound* ZapSound = nullptr;
Sound* AttachSound = nullptr;
Sound* StaticSound = nullptr;
Sound* Static2Sound = nullptr;

namespace {

// None for a format the device would refuse, or when memory runs out: that effect is silent.
Sound* MakeSound(const StoredWave& wave, uint32_t voiceCount)
{
    try {
        EffectFrames frames;
        if (!MakeEffectFrames(wave.format, wave.pcm, frames)) {
            return nullptr;
        }
        return new Sound(std::move(frames), voiceCount);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

// Runs an operation over the voices of a sound under the device lock.
template <typename Operation>
ResultCode ForEachVoice(Sound* sound, Operation operation)
{
    if (sound == nullptr) {
        return ResultNotInitialized;
    }
    const DeviceLock hold;
    for (uint32_t i = 0; i < sound->voiceCount; ++i) {
        operation(sound->voices[i]);
    }
    return ResultOk;
}

}  // namespace

Sound::Sound(EffectFrames frames, uint32_t voiceCount)
    : frames(std::move(frames)), voices(new Voice[voiceCount]), voiceCount(voiceCount)
{
}

void LoadSounds()
{
    char path[DataPathSize];
    MakeDataPath(path, "audio.vbf");
    if (!DataArchive.Open(path)) {
        return;
    }
    for (const EffectSlot& effect : Effects) {
        StoredWave wave;
        Sound* sound =
            ReadStoredWave(DataArchive, effect.entryName, wave) ? MakeSound(wave, effect.voiceCount) : nullptr;
        const DeviceLock hold;
        *effect.sound = sound;
    }
    DataArchive.Close();
}

void DeleteEffects()
{
    for (const EffectSlot& effect : Effects) {
        Sound* sound = nullptr;
        {
            const DeviceLock hold;
            std::swap(sound, *effect.sound);
        }
        delete sound;
    }
}

void MixEffects(int32_t* sum, uint32_t frames)
{
    for (const EffectSlot& effect : Effects) {
        Sound* sound = *effect.sound;
        for (uint32_t i = 0; sound != nullptr && i < sound->voiceCount; ++i) {
            MixVoice(sound->frames, sound->voices[i], sum, frames);
        }
    }
}

ResultCode PlayEffect(Sound* sound, uint32_t, uint32_t flags)
{
    if (sound == nullptr) {
        return ResultNotInitialized;
    }
    const DeviceLock hold;
    // A playing voice chosen again goes on from where it is, as a DirectSound buffer played twice.
    Voice& voice = sound->voices[ChooseVoice(sound->voices.get(), sound->voiceCount)];
    voice.gain = UnityGain;
    voice.looping = (flags & PlayLooping) != 0;
    voice.playing = true;
    return ResultOk;
}

bool SoundIsPlaying(Sound* sound)
{
    bool playing = false;
    ForEachVoice(sound, [&playing](const Voice& voice) { playing = playing || voice.playing; });
    return playing;
}

ResultCode StopSound(Sound* sound)
{
    return ForEachVoice(sound, [](Voice& voice) { voice.playing = false; });
}

ResultCode ResetSound(Sound* sound)
{
    return ForEachVoice(sound, [](Voice& voice) { voice.position = 0; });
}
