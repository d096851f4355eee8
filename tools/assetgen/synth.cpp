// synth.cpp -- oscillators, filters and level helpers.
#include "synth.h"

#include <algorithm>
#include <cmath>

float MidiToHz(float midi)
{
    return 440.0f * std::pow(2.0f, (midi - 69.0f) / 12.0f);
}

float DbToGain(float db)
{
    return std::pow(10.0f, db / 20.0f);
}

Wavetable::Wavetable(const std::vector<float>& harmonicAmplitudes) : table(Size + 1)
{
    for (int i = 0; i <= Size; ++i) {
        double v = 0;
        for (size_t h = 0; h < harmonicAmplitudes.size(); ++h) {
            v += harmonicAmplitudes[h] * std::sin(2.0 * 3.14159265358979 * (h + 1) * i / Size);
        }
        table[i] = static_cast<float>(v);
    }
    float peak = 0;
    for (float v : table) {
        peak = std::max(peak, std::fabs(v));
    }
    for (float& v : table) {
        v /= peak;
    }
}

float Wavetable::At(double phase) const
{
    const double f = phase * Size;
    int64_t whole = static_cast<int64_t>(f);
    if (f < static_cast<double>(whole)) {
        --whole;  // round towards minus infinity
    }
    const float t = static_cast<float>(f - static_cast<double>(whole));
    const int i = static_cast<int>(whole & (Size - 1));
    return table[i] + (table[i + 1] - table[i]) * t;
}

const Wavetable& SineWave()
{
    static const Wavetable wave({1.0f});
    return wave;
}

const Wavetable& SoftSawWave()
{
    static const Wavetable wave({1.0f, 0.5f, 0.33f, 0.22f, 0.14f, 0.09f, 0.05f, 0.03f});
    return wave;
}

const Wavetable& HollowWave()
{
    static const Wavetable wave({1.0f, 0.0f, 0.28f, 0.0f, 0.11f, 0.0f, 0.04f});
    return wave;
}

namespace {

Biquad FromCoefficients(float b0, float b1, float b2, float a0, float a1, float a2)
{
    Biquad f;
    f.b0 = b0 / a0;
    f.b1 = b1 / a0;
    f.b2 = b2 / a0;
    f.a1 = a1 / a0;
    f.a2 = a2 / a0;
    return f;
}

}  // namespace

Biquad Biquad::LowPass(float hz, float q)
{
    const float w = TwoPi * hz / SampleRate, c = std::cos(w), alpha = std::sin(w) / (2 * q);
    return FromCoefficients((1 - c) / 2, 1 - c, (1 - c) / 2, 1 + alpha, -2 * c, 1 - alpha);
}

Biquad Biquad::HighPass(float hz, float q)
{
    const float w = TwoPi * hz / SampleRate, c = std::cos(w), alpha = std::sin(w) / (2 * q);
    return FromCoefficients((1 + c) / 2, -(1 + c), (1 + c) / 2, 1 + alpha, -2 * c, 1 - alpha);
}

Biquad Biquad::BandPass(float hz, float q)
{
    const float w = TwoPi * hz / SampleRate, c = std::cos(w), alpha = std::sin(w) / (2 * q);
    return FromCoefficients(alpha, 0, -alpha, 1 + alpha, -2 * c, 1 - alpha);
}

void FilterLooped(std::vector<float>& samples, Biquad filter)
{
    for (float s : samples) {
        filter.Process(s);
    }
    for (float& s : samples) {
        s = filter.Process(s);
    }
}

void FilterOnce(std::vector<float>& samples, Biquad filter)
{
    for (float& s : samples) {
        s = filter.Process(s);
    }
}

void RemoveDc(std::vector<float>& samples)
{
    if (samples.empty()) {
        return;
    }
    double sum = 0;
    for (float s : samples) {
        sum += s;
    }
    const float mean = static_cast<float>(sum / samples.size());
    for (float& s : samples) {
        s -= mean;
    }
}

void RemoveDcKeepingEnds(std::vector<float>& samples)
{
    const size_t n = samples.size();
    if (n < 3) {
        return;
    }
    double sum = 0, weight = 0;
    std::vector<float> bell(n);
    for (size_t i = 0; i < n; ++i) {
        bell[i] = 0.5f - 0.5f * std::cos(TwoPi * static_cast<float>(i) / static_cast<float>(n - 1));
        sum += samples[i];
        weight += bell[i];
    }
    const float k = static_cast<float>(sum / weight);
    for (size_t i = 0; i < n; ++i) {
        samples[i] -= k * bell[i];
    }
}

float Peak(const std::vector<float>& samples)
{
    float peak = 0;
    for (float s : samples) {
        peak = std::max(peak, std::fabs(s));
    }
    return peak;
}

void ScaleToPeakDb(std::vector<float>& samples, float peakDb)
{
    const float peak = Peak(samples);
    if (peak <= 0) {
        return;
    }
    const float gain = DbToGain(peakDb) / peak;
    for (float& s : samples) {
        s *= gain;
    }
}

void FadeEdges(std::vector<float>& samples, int fadeIn, int fadeOut)
{
    const int n = static_cast<int>(samples.size());
    for (int i = 0; i < fadeIn && i < n; ++i) {
        samples[i] *= 0.5f - 0.5f * std::cos(3.14159265f * i / fadeIn);
    }
    for (int i = 0; i < fadeOut && i < n; ++i) {
        samples[n - 1 - i] *= 0.5f - 0.5f * std::cos(3.14159265f * i / fadeOut);
    }
}
