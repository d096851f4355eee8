// mixer.cpp -- the effect mixer's arithmetic, free of the platform so it is tested natively.
#include "core/audio/mixer.h"

#include <cmath>

#include "core/common/random.h"

namespace {

constexpr uint32_t MinRate = 100;
constexpr uint32_t MaxRate = 200000;

// Linear between a frame and the next: effects at another rate than the device's are rare, and
// at the device's rate every fraction is 0 and the sample is taken as it is.
int32_t SampleAt(const EffectFrames& effect, uint64_t position, bool looping, uint32_t channel)
{
    const uint32_t index = static_cast<uint32_t>(position >> 32);
    const int32_t fraction = static_cast<int32_t>(position >> 16 & 0xFFFF);
    const int32_t here = effect.samples[index * effect.channels + channel];
    uint32_t next = index + 1;
    if (fraction == 0 || (next == effect.frames && !looping)) {
        return here;
    }
    if (next == effect.frames) {
        next = 0;
    }
    const int64_t there = effect.samples[next * effect.channels + channel];
    return here + static_cast<int32_t>((there - here) * fraction >> 16);
}

int32_t Scale(int32_t sample, int32_t gain)
{
    return static_cast<int32_t>(int64_t{sample} * gain >> 16);
}

}  // namespace

bool GainOfVolume(int32_t volume, int32_t& gain)
{
    if (volume < MinVolume || volume > MaxVolume) {
        return false;
    }
    gain = static_cast<int32_t>(std::lround(UnityGain * std::pow(10.0, volume / 2000.0)));
    return true;
}

bool MakeEffectFrames(const WaveFormat& format, const std::vector<uint8_t>& pcm, EffectFrames& out)
{
    const uint32_t bytes = format.bitsPerSample / 8u;
    if ((format.bitsPerSample != 8 && format.bitsPerSample != 16) || format.channels < 1 || format.channels > 2 ||
        format.samplesPerSec < MinRate || format.samplesPerSec > MaxRate) {
        return false;
    }
    const uint32_t frames = static_cast<uint32_t>(pcm.size() / (bytes * format.channels));
    if (frames == 0) {
        return false;
    }
    out.channels = format.channels;
    out.frames = frames;
    out.step = (uint64_t{format.samplesPerSec} << 32) / MixRate;
    out.samples.resize(size_t{frames} * format.channels);
    for (size_t i = 0; i < out.samples.size(); ++i) {
        // 8-bit samples are unsigned around 128; 16-bit ones are signed, little-endian.
        out.samples[i] = bytes == 1 ? static_cast<int16_t>((pcm[i] - 128) * 256)
                                    : static_cast<int16_t>(pcm[2 * i] | pcm[2 * i + 1] << 8);
    }
    return true;
}

uint32_t ChooseVoice(const Voice* voices, uint32_t count)
{
    for (uint32_t i = 0; i < count; ++i) {
        if (!voices[i].playing) {
            return i;
        }
    }
    return static_cast<uint32_t>(Random()) % count;
}

void MixVoice(const EffectFrames& effect, Voice& voice, int32_t* sum, uint32_t frames)
{
    const uint64_t end = uint64_t{effect.frames} << 32;
    const uint32_t right = effect.channels - 1;
    for (uint32_t i = 0; i < frames && voice.playing; ++i) {
        sum[2 * i] += Scale(SampleAt(effect, voice.position, voice.looping, 0), voice.gain);
        sum[2 * i + 1] += Scale(SampleAt(effect, voice.position, voice.looping, right), voice.gain);
        voice.position += effect.step;
        if (voice.position < end) {
            continue;
        }
        if (voice.looping) {
            voice.position %= end;
        } else {
            voice.playing = false;
            voice.position = 0;
        }
    }
}

void MixStereo(const int16_t* source, int32_t gain, int32_t* sum, uint32_t frames)
{
    for (uint32_t i = 0; i < 2 * frames; ++i) {
        sum[i] += Scale(source[i], gain);
    }
}

void ClipToPcm16(const int32_t* sum, int16_t* out, uint32_t samples)
{
    for (uint32_t i = 0; i < samples; ++i) {
        out[i] = static_cast<int16_t>(sum[i] > 32767 ? 32767 : sum[i] < -32768 ? -32768 : sum[i]);
    }
}
