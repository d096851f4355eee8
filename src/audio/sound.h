// sound.h -- what game code may do with a sound effect; a missing (null) sound is harmless.
#pragma once

#include "common/result_codes.h"

class Sound;

bool SoundIsPlaying(Sound* sound);
ResultCode StopSound(Sound* sound);
ResultCode ResetSound(Sound* sound);   // rewinds every buffer of the sound
