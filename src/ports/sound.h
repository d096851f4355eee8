// sound.h -- what the game asks of the sound: the five effects and the background music.
// A missing (null) effect and music that failed to open are harmless to every call.
#pragma once

#include <cstdint>

#include "core/common/result_codes.h"

class Sound;

extern Sound* RotateSound;
extern Sound* ZapSound;
extern Sound* AttachSound;
extern Sound* StaticSound;
extern Sound* Static2Sound;

constexpr uint32_t PlayLooping = 1;

// Starts the effect at full volume; flags 0 plays once, PlayLooping loops.
ResultCode PlayEffect(Sound* sound, uint32_t priority, uint32_t flags);
bool SoundIsPlaying(Sound* sound);
ResultCode StopSound(Sound* sound);
ResultCode ResetSound(Sound* sound);  // rewinds every buffer of the sound

void ResumeMusic();  // plays on from where it stopped
void PauseMusic();
// Hundredths of a decibel (0 full, -500 during play).
void SetMusicVolume(int32_t volume);
