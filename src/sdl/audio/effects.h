// effects.h -- a sound effect as the SDL mixer holds it: its frames and N voices that play them.
#pragma once

#include <cstdint>
#include <memory>

#include "core/audio/mixer.h"

class Sound {
public:
    Sound(EffectFrames frames, uint32_t voiceCount);
    virtual ~Sound() = default;
    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;

    EffectFrames frames;
    std::unique_ptr<Voice[]> voices;  // read and changed only under the device lock
    uint32_t voiceCount;
};
