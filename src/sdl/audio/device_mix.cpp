// device_mix.cpp -- what every sound device plays: the music and the effects added up and clipped
// to 16-bit stereo.
#include <algorithm>

#include "core/audio/mixer.h"
#include "sdl/audio/device.h"

namespace {

constexpr uint32_t MixBlockFrames = 1024;

int32_t Sum[2 * MixBlockFrames];  // the mixing's alone: one device mixes at a time

}  // namespace

void MixDeviceFrames(int16_t* out, uint32_t frames)
{
    while (frames > 0) {
        const uint32_t block = std::min(frames, MixBlockFrames);
        std::fill(Sum, Sum + 2 * block, 0);
        MixMusic(Sum, block);
        MixEffects(Sum, block);
        ClipToPcm16(Sum, out, 2 * block);
        out += 2 * block;
        frames -= block;
    }
}
