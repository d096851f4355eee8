// sound_effects.h -- the five effects of audio.vbf, synthesised.
#pragma once

#include <string>
#include <vector>

struct SoundEffect {
    std::string name;            // archive entry name
    std::vector<float> samples;  // mono, SampleRate, within [-1, 1]
};

// In the order the game loads them: rotate, zap2, attach, static, static2.
std::vector<SoundEffect> MakeSoundEffects();
