// effect_set.cpp -- the game's five effects.
#include "core/audio/effect_set.h"

const EffectSlot Effects[EffectCount] = {
    {&RotateSound, "rotate.wav", 5},
    {&ZapSound, "zap2.wav", 2},
    {&AttachSound, "attach.wav", 1},
    {&StaticSound, "static.wav", 5},
    {&Static2Sound, "static2.wav", 5},
};
