// sound_effects.cpp -- a blip, an electric sweep, a thud and two kinds of radio static.
#include "sound_effects.h"

#include <algorithm>
#include <cmath>

#include "rng.h"
#include "synth.h"

namespace {

int Samples(float seconds)
{
    return static_cast<int>(seconds * SampleRate);
}

// A quick rising two-tone blip for a turn of the piece.
std::vector<float> MakeRotate()
{
    std::vector<float> out(Samples(0.075f));
    // Two short notes a fifth apart, the second entering as the first fades.
    const float starts[2] = {0.0f, 0.028f}, pitches[2] = {880.0f, 1320.0f};
    for (int n = 0; n < 2; ++n) {
        for (size_t i = Samples(starts[n]); i < out.size(); ++i) {
            const float t = static_cast<float>(i) / SampleRate - starts[n];
            const double phase = static_cast<double>(pitches[n]) * t;
            const float env = std::min(1.0f, t / 0.002f) * std::exp(-t / 0.018f);
            out[i] += (SineWave().At(phase) + 0.25f * SineWave().At(phase * 2)) * env;
        }
    }
    FadeEdges(out, Samples(0.0015f), Samples(0.01f));
    RemoveDcKeepingEnds(out);
    ScaleToPeakDb(out, -7.0f);
    return out;
}

// A falling buzz with crackle, about 0.2 s: one per cleared row.
std::vector<float> MakeZap()
{
    std::vector<float> out(Samples(0.2f));
    Rng rng(2);
    Biquad crackle = Biquad::BandPass(3000.0f, 1.2f);
    Biquad tone = Biquad::LowPass(4000.0f, 0.9f);
    double phase = 0, buzz = 0;
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = static_cast<float>(i) / SampleRate;
        const float hz = 200.0f + 2200.0f * std::exp(-t / 0.05f);
        phase += hz / SampleRate;
        buzz += 60.0f / SampleRate;
        const float ring = 0.55f + 0.45f * SineWave().At(buzz);
        const float saw = SoftSawWave().At(phase) * ring;
        const float noise = crackle.Process(rng.Signed()) * (rng.Below(9) == 0 ? 1.6f : 0.5f);
        const float env = std::min(1.0f, t / 0.004f) * std::exp(-t / 0.09f);
        out[i] = tone.Process(saw * 0.8f + noise * 0.6f) * env;
    }
    FilterOnce(out, Biquad::HighPass(60.0f, 0.7f));
    FadeEdges(out, Samples(0.002f), Samples(0.03f));
    RemoveDcKeepingEnds(out);
    ScaleToPeakDb(out, -6.0f);
    return out;
}

// A soft low thud with a muffled knock at its start.
std::vector<float> MakeAttach()
{
    std::vector<float> out(Samples(0.16f));
    Rng rng(3);
    Biquad knock = Biquad::LowPass(900.0f, 0.7f);
    double phase = 0;
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = static_cast<float>(i) / SampleRate;
        const float hz = 60.0f + 90.0f * std::exp(-t / 0.03f);
        phase += hz / SampleRate;
        const float body = (SineWave().At(phase) + 0.3f * SineWave().At(phase * 2)) * std::exp(-t / 0.045f);
        const float click = knock.Process(rng.Signed()) * std::exp(-t / 0.006f);
        out[i] = body + 0.5f * click;
    }
    FilterOnce(out, Biquad::HighPass(30.0f, 0.7f));
    FadeEdges(out, Samples(0.001f), Samples(0.04f));
    RemoveDcKeepingEnds(out);
    ScaleToPeakDb(out, -6.0f);
    return out;
}

// Band-limited hiss with a fluttering level, like a receiver between stations.
// `looped` keeps every part periodic over the length so that it repeats without a seam.
std::vector<float> MakeRadioNoise(float seconds, uint64_t seed, bool looped)
{
    const int n = Samples(seconds);
    std::vector<float> out(n);
    Rng rng(seed);
    for (float& s : out) {
        s = rng.Signed();
    }
    FilterLooped(out, Biquad::BandPass(2200.0f, 0.6f));
    FilterLooped(out, Biquad::LowPass(5000.0f, 0.7f));
    // Flutter from a few sines with whole numbers of cycles in the buffer.
    const float rates[3] = {7.0f, 11.0f, 23.0f};
    for (int i = 0; i < n; ++i) {
        float flutter = 1.0f;
        for (int k = 0; k < 3; ++k) {
            const float cycles = std::round(rates[k] * seconds);
            flutter += 0.22f * std::sin(TwoPi * cycles * i / n + k * 1.3f);
        }
        out[i] *= flutter;
    }
    // Crackles: short clicks of noise here and there.
    for (int c = 0; c < static_cast<int>(seconds * 9); ++c) {
        const int at = rng.Below(n);
        const float level = 0.4f + rng.Unit() * 0.6f;
        for (int k = 0; k < 90; ++k) {
            out[(at + k) % n] += rng.Signed() * level * std::exp(-k / 18.0f);
        }
    }
    FilterLooped(out, Biquad::HighPass(120.0f, 0.7f));
    RemoveDc(out);
    if (!looped) {
        FadeEdges(out, Samples(0.02f), Samples(0.12f));
    }
    // Noise is judged by its loudness, not its peaks: aim at an RMS level, keep the peaks clear.
    double energy = 0;
    for (float v : out) {
        energy += static_cast<double>(v) * v;
    }
    const float rms = static_cast<float>(std::sqrt(energy / n));
    const float gain = std::min(DbToGain(-22.0f) / rms, DbToGain(-4.0f) / Peak(out));
    for (float& v : out) {
        v *= gain;
    }
    return out;
}

}  // namespace

std::vector<SoundEffect> MakeSoundEffects()
{
    return {
        {"rotate.wav", MakeRotate()},
        {"zap2.wav", MakeZap()},
        {"attach.wav", MakeAttach()},
        {"static.wav", MakeRadioNoise(1.5f, 4, false)},
        {"static2.wav", MakeRadioNoise(2.0f, 5, true)},
    };
}
