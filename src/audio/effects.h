// effects.h -- the game's five sound effects and how they are started.
#pragma once

#include <cstdint>

#include "audio/sound.h"

constexpr uint32_t PlayLooping = 1;

extern Sound* RotateSound;
extern Sound* ZapSound;
extern Sound* AttachSound;
extern Sound* StaticSound;
extern Sound* Static2Sound;

// Starts the effect at full volume; flags 0 plays once, PlayLooping loops.
ResultCode PlayEffect(Sound* sound, uint32_t priority, uint32_t flags);
