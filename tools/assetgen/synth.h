// synth.h -- the small sound-synthesis kit shared by the effects and the music.
#pragma once

#include <cstdint>
#include <vector>

constexpr int SampleRate = 44100;
constexpr float TwoPi = 6.28318530718f;

float MidiToHz(float midi);
float DbToGain(float db);

// One cycle of a tone built from harmonics, read with linear interpolation.
class Wavetable {
public:
    explicit Wavetable(const std::vector<float>& harmonicAmplitudes);
    float At(double phase) const;  // phase in cycles; only its fraction counts

private:
    static constexpr int Size = 4096;
    std::vector<float> table;
};

const Wavetable& SineWave();
const Wavetable& SoftSawWave();  // few harmonics: warm, never buzzy
const Wavetable& HollowWave();   // odd harmonics: a soft reed

// Second-order filter (the usual audio-cookbook forms).
struct Biquad {
    float b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
    float z1 = 0, z2 = 0;
    static Biquad LowPass(float hz, float q);
    static Biquad HighPass(float hz, float q);
    static Biquad BandPass(float hz, float q);
    float Process(float x)
    {
        const float y = b0 * x + z1;
        z1 = b1 * x - a1 * y + z2;
        z2 = b2 * x - a2 * y;
        return y;
    }
};

// Runs a filter over a looping buffer twice and keeps the second pass, so its
// state at the start is what the end of the loop leaves behind: no seam.
void FilterLooped(std::vector<float>& samples, Biquad filter);

// Runs a filter once from silence, for one-shot sounds.
void FilterOnce(std::vector<float>& samples, Biquad filter);

void RemoveDc(std::vector<float>& samples);
// Removes the mean with a bell-shaped correction that leaves both ends where they are.
void RemoveDcKeepingEnds(std::vector<float>& samples);
float Peak(const std::vector<float>& samples);
void ScaleToPeakDb(std::vector<float>& samples, float peakDb);
// Short raised-cosine fades so that a one-shot starts and ends at zero.
void FadeEdges(std::vector<float>& samples, int fadeIn, int fadeOut);
