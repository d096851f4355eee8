// silent_audio.cpp -- a silent stand-in for the SDL build's sound, so that the game links and plays
// until the mixer and the music take its place: no device, no effects, every call harmless.
#include "core/log/debug_log.h"
#include "ports/sound.h"
#include "sdl/audio/audio.h"

Sound* RotateSound = nullptr;
Sound* ZapSound = nullptr;
Sound* AttachSound = nullptr;
Sound* StaticSound = nullptr;
Sound* Static2Sound = nullptr;

ResultCode PlayEffect(Sound*, uint32_t, uint32_t)
{
    return ResultOk;
}

bool SoundIsPlaying(Sound*)
{
    return false;
}

ResultCode StopSound(Sound*)
{
    return ResultOk;
}

ResultCode ResetSound(Sound*)
{
    return ResultOk;
}

void ResumeMusic()
{
}

void PauseMusic()
{
}

void SetMusicVolume(int32_t)
{
}

bool StartAudio()
{
    WriteDebugLog("No sound in this build: the game plays silently");
    return false;
}

bool StartMusic()
{
    return false;
}

void StopAudio()
{
}
