// mixer.h -- the effect mixer's arithmetic: voices over an effect's frames, volumes in hundredths of
// a decibel as DirectSound takes them, and the 16-bit stereo that the device plays.
#pragma once

#include <cstdint>
#include <vector>

#include "core/audio/wave_file.h"

constexpr uint32_t MixRate = 44100;    // frames a second of the device and of the music
constexpr int32_t MinVolume = -10000;  // 100 dB down: silence
constexpr int32_t MaxVolume = 0;       // as recorded
constexpr int32_t UnityGain = 1 << 16;

// The gain (UnityGain is 1) of a volume in hundredths of a decibel. False for a volume outside
// MinVolume to MaxVolume, which DirectSound refuses too: the caller keeps the gain it had.
bool GainOfVolume(int32_t volume, int32_t& gain);

// An effect's samples as 16-bit frames, and the step that plays them at their own rate.
struct EffectFrames {
    std::vector<int16_t> samples;  // `channels` to a frame
    uint32_t channels = 0;
    uint32_t frames = 0;
    uint64_t step = 0;  // source frames per device frame, 32.32 fixed point
};

// Converts stored PCM. False for what a DirectSound buffer refuses as well: other than 8 or 16 bits,
// mono or stereo, a rate outside 100 to 200000 Hz, or not one whole frame. May throw bad_alloc.
bool MakeEffectFrames(const WaveFormat& format, const std::vector<uint8_t>& pcm, EffectFrames& out);

// One sounding copy of an effect: what each DirectSound duplicate buffer keeps of its own.
struct Voice {
    bool playing = false;
    bool looping = false;
    uint64_t position = 0;  // source frames, 32.32 fixed point
    int32_t gain = UnityGain;
};

// The voice a start takes: the first one not playing, else one of them at random.
uint32_t ChooseVoice(const Voice* voices, uint32_t count);

// Adds `frames` device frames of the voice to the stereo sum and moves it on. A voice that plays
// once stops at its end with its position back at the start, as a DirectSound buffer does.
void MixVoice(const EffectFrames& effect, Voice& voice, int32_t* sum, uint32_t frames);

// Adds 16-bit stereo frames at a gain to the sum.
void MixStereo(const int16_t* source, int32_t gain, int32_t* sum, uint32_t frames);

// The sum as 16-bit samples, clipped.
void ClipToPcm16(const int32_t* sum, int16_t* out, uint32_t samples);
