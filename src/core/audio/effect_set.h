// effect_set.h -- the game's five effects: their entries in "audio.vbf" and how many of each may
// sound at once. Every back end loads the same set.
#pragma once

#include <cstdint>

#include "ports/sound.h"

struct EffectSlot {
    Sound** sound;
    const char* entryName;
    uint32_t voiceCount;
};

constexpr int EffectCount = 5;
extern const EffectSlot Effects[EffectCount];
