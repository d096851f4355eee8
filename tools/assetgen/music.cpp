// music.cpp -- "Quadrone" theme in F major: an eight-bar progression heard four
// times (intro, tune, higher tune, bell interlude), rendered into a looping buffer.
//
// Every note, echo and reverb tail that runs past the last sample is folded back
// onto the start, and every filter runs over the loop twice, so the last sample
// leads into the first exactly as any sample leads into the next.
#include "music.h"

#include <cmath>
#include <sstream>
#include <string>

#include "rng.h"
#include "synth.h"

namespace {

constexpr int Sixteenth = MusicSamplesPerSixteenth;
constexpr int LoopLength = MusicBars * MusicSamplesPerBar;

struct Bus {
    std::vector<float> left = std::vector<float>(LoopLength), right = std::vector<float>(LoopLength);
    // Notes start inside the loop and last far less than it, so one wrap suffices.
    void Add(long at, float l, float r)
    {
        const size_t i = static_cast<size_t>(at >= LoopLength ? at - LoopLength : at);
        left[i] += l;
        right[i] += r;
    }
};

struct Chord {
    int notes[4];  // pad voicing, MIDI
    int bass;      // root, MIDI
};

// Fmaj7 | Am7 | Bbmaj7 | C6 | Dm7 | Bbmaj7 | Gm7 | C7sus4 -> C
const Chord Progression[8] = {
    {{53, 57, 60, 64}, 41},
    {{57, 60, 64, 67}, 45},
    {{58, 62, 65, 69}, 46},
    {{60, 64, 67, 69}, 48},
    {{57, 60, 62, 65}, 38},
    {{58, 62, 65, 69}, 46},
    {{55, 58, 62, 65}, 43},
    {{58, 60, 65, 67}, 48},
};
const int ResolvedLastChord[4] = {58, 60, 64, 67};  // second half of bar 8: the fourth falls to the third

// Tunes written one bar per string: note name with octave, or r for a rest, then ':' and
// the length in sixteenths.
const char* const TuneA[8] = {
    "A4:6 C5:2 F5:4 E5:4",
    "E5:6 D5:2 C5:4 A4:4",
    "D5:4 F5:2 E5:2 D5:6 C5:2",
    "C5:8 r:4 G4:2 A4:2",
    "A4:6 C5:2 F5:4 A5:4",
    "G5:2 F5:2 D5:4 r:2 D5:2 F5:2 G5:2",
    "F5:6 D5:2 Bb4:4 D5:4",
    "C5:6 D5:2 E5:8",
};
const char* const TuneB[8] = {
    "F5:2 G5:2 A5:4 C6:2 A5:2 G5:4",
    "E5:2 G5:2 A5:6 G5:2 E5:4",
    "F5:2 D5:2 F5:2 A5:2 G5:6 F5:2",
    "E5:12 r:4",
    "D5:2 F5:2 A5:4 C6:6 A5:2",
    "Bb5:6 A5:2 F5:4 D5:4",
    "G5:2 F5:2 D5:2 F5:2 G5:4 Bb5:4",
    "G5:6 F5:2 E5:8",
};
const char* const BellLine[8] = {
    "A5:8 G5:4 F5:4",
    "E5:16",
    "F5:8 D5:8",
    "E5:8 G5:8",
    "F5:8 A5:8",
    "D6:8 C6:4 A5:4",
    "Bb5:8 A5:4 F5:4",
    "G5:8 E5:8",
};

struct Note {
    int start;   // sixteenths from the start of the bar
    int length;  // sixteenths
    int midi;
};

int ParsePitch(const std::string& name)
{
    static const int steps[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    int semitone = steps[name[0] - 'A'];
    size_t i = 1;
    if (name[i] == 'b') {
        --semitone;
        ++i;
    } else if (name[i] == '#') {
        ++semitone;
        ++i;
    }
    const int octave = name[i] - '0';
    return 12 * (octave + 1) + semitone;
}

std::vector<Note> ParseBar(const char* text)
{
    std::vector<Note> notes;
    std::istringstream in(text);
    std::string token;
    int at = 0;
    while (in >> token) {
        const size_t colon = token.find(':');
        const std::string pitch = token.substr(0, colon);
        const int length = std::stoi(token.substr(colon + 1));
        if (pitch != "r") {
            notes.push_back({at, length, ParsePitch(pitch)});
        }
        at += length;
    }
    return notes;
}

long BarStart(int bar)
{
    return static_cast<long>(bar) * MusicSamplesPerBar;
}

// Attack-decay-sustain-release, times in seconds.
float Envelope(float t, float held, float attack, float decay, float sustain, float release)
{
    if (t < 0) {
        return 0;
    }
    float level;
    if (t < attack) {
        level = t / attack;
    } else {
        level = sustain + (1 - sustain) * std::exp(-(t - attack) / decay);
    }
    if (t > held) {
        level *= std::exp(-(t - held) / release);
    }
    return level;
}

void Pan(float pan, float& l, float& r)
{  // -1 left .. 1 right, equal power
    const float a = (pan + 1) * 0.7853982f;
    l = std::cos(a);
    r = std::sin(a);
}

// Warm pad: three detuned soft saws per note, slow swell.
void PlayPad(Bus& bus, long at, float seconds, const int* notes, float gain)
{
    const float detune[3] = {-0.07f, 0.0f, 0.08f};
    const float pans[3] = {-0.6f, 0.0f, 0.6f};
    double hz[4][3];
    float pl[3], pr[3];
    for (int v = 0; v < 3; ++v) {
        Pan(pans[v], pl[v], pr[v]);
        for (int n = 0; n < 4; ++n) {
            hz[n][v] = MidiToHz(notes[n] + detune[v]);
        }
    }
    const int total = static_cast<int>((seconds + 1.2f) * SampleRate);
    for (int i = 0; i < total; ++i) {
        const float t = static_cast<float>(i) / SampleRate;
        const float env = Envelope(t, seconds, 0.35f, 1.0f, 0.8f, 0.35f) * gain;
        float l = 0, r = 0;
        for (int v = 0; v < 3; ++v) {
            float s = 0;
            for (int n = 0; n < 4; ++n) {
                s += SoftSawWave().At(hz[n][v] * t + 0.31 * v + 0.17 * n);
            }
            l += s * pl[v];
            r += s * pr[v];
        }
        bus.Add(at + i, l * env, r * env);
    }
}

void PlayBass(Bus& bus, long at, float seconds, int midi, float gain)
{
    const double hz = MidiToHz(static_cast<float>(midi));
    const int total = static_cast<int>((seconds + 0.3f) * SampleRate);
    for (int i = 0; i < total; ++i) {
        const float t = static_cast<float>(i) / SampleRate;
        const double p = hz * t;
        const float tone = SineWave().At(p) + 0.3f * SineWave().At(2 * p) + 0.12f * SineWave().At(3 * p);
        const float s = tone * Envelope(t, seconds * 0.92f, 0.006f, 0.18f, 0.55f, 0.05f) * gain;
        bus.Add(at + i, s, s);
    }
}

// Soft reed lead with a vibrato that blooms as the note is held.
void PlayLead(Bus& bus, long at, float seconds, int midi, float gain)
{
    const double hz = MidiToHz(static_cast<float>(midi));
    const int total = static_cast<int>((seconds + 0.5f) * SampleRate);
    double phase = 0;
    for (int i = 0; i < total; ++i) {
        const float t = static_cast<float>(i) / SampleRate;
        const float depth = 0.004f * std::min(1.0f, std::max(0.0f, (t - 0.18f) / 0.3f));
        phase += hz * (1.0 + depth * std::sin(TwoPi * 5.3f * t)) / SampleRate;
        const float s =
            (HollowWave().At(phase) * 0.6f + SoftSawWave().At(phase) * 0.25f + SineWave().At(phase * 2) * 0.15f) *
            Envelope(t, seconds * 0.95f, 0.025f, 0.5f, 0.75f, 0.09f) * gain;
        bus.Add(at + i, s * 0.85f, s);
    }
}

// Two-operator FM: `ratio` 2 gives a soft electric piano, 3.5 a bell.
void PlayFm(Bus& bus, long at, int midi, float ratio, float index, float decay, float pan, float gain)
{
    const double hz = MidiToHz(static_cast<float>(midi));
    const int total = static_cast<int>(decay * 6 * SampleRate);
    float pl, pr;
    Pan(pan, pl, pr);
    for (int i = 0; i < total; ++i) {
        const float t = static_cast<float>(i) / SampleRate;
        const float amp = std::min(1.0f, t / 0.002f) * std::exp(-t / decay);
        const float mod = index * std::exp(-t / (decay * 0.4f)) * SineWave().At(hz * ratio * t);
        const float s = SineWave().At(hz * t + mod / TwoPi) * amp * gain;
        bus.Add(at + i, s * pl, s * pr);
    }
}

void PlayKick(Bus& bus, long at, float gain)
{
    double phase = 0;
    for (int i = 0; i < SampleRate / 3; ++i) {
        const float t = static_cast<float>(i) / SampleRate;
        phase += (45.0f + 85.0f * std::exp(-t / 0.03f)) / SampleRate;
        const float s = SineWave().At(phase) * std::min(1.0f, t / 0.001f) * std::exp(-t / 0.12f) * gain;
        bus.Add(at + i, s, s);
    }
}

void PlaySnare(Bus& bus, long at, float gain, Rng& rng)
{
    Biquad body = Biquad::BandPass(2500.0f, 0.8f);
    for (int i = 0; i < SampleRate / 4; ++i) {
        const float t = static_cast<float>(i) / SampleRate;
        const float noise = body.Process(rng.Signed()) * std::exp(-t / 0.06f);
        const float tone = SineWave().At(190.0 * t) * std::exp(-t / 0.04f) * 0.5f;
        const float s = (noise * 1.6f + tone) * std::min(1.0f, t / 0.001f) * gain;
        bus.Add(at + i, s * 0.9f, s);
    }
}

void PlayHat(Bus& bus, long at, float gain, Rng& rng, float decay = 0.022f)
{
    Biquad air = Biquad::HighPass(7500.0f, 0.7f);
    const int total = static_cast<int>(decay * 5 * SampleRate);
    for (int i = 0; i < total; ++i) {
        const float t = static_cast<float>(i) / SampleRate;
        const float s = air.Process(rng.Signed()) * std::exp(-t / decay) * gain;
        bus.Add(at + i, s * 0.8f, s);
    }
}

float SixteenthsToSeconds(int n)
{
    return static_cast<float>(n * Sixteenth) / SampleRate;
}

void WriteHarmony(Bus& pads, Bus& bass, Bus& keys)
{
    for (int bar = 0; bar < MusicBars; ++bar) {
        const int section = bar / 8;
        const Chord& chord = Progression[bar % 8];
        const long start = BarStart(bar);
        if (bar % 8 == 7) {
            PlayPad(pads, start, SixteenthsToSeconds(8), chord.notes, 1.0f);
            PlayPad(pads, start + 8 * Sixteenth, SixteenthsToSeconds(8), ResolvedLastChord, 1.0f);
        } else {
            PlayPad(pads, start, SixteenthsToSeconds(16), chord.notes, 1.0f);
        }
        // Bass: long notes in the intro and interlude, a syncopated figure under the tunes.
        struct Step {
            int at, length, offset;
        };
        static const Step calm[] = {{0, 10, 0}, {10, 6, 7}};
        static const Step busy[] = {{0, 3, 0}, {3, 3, 0}, {6, 2, 12}, {8, 3, 0}, {11, 3, 7}, {14, 2, 12}};
        const bool driving = section == 1 || section == 2;
        const Step* steps = driving ? busy : calm;
        const int count = driving ? 6 : 2;
        for (int s = 0; s < count; ++s) {
            PlayBass(bass, start + steps[s].at * Sixteenth, SixteenthsToSeconds(steps[s].length),
                chord.bass + steps[s].offset, 1.0f);
        }
        // Arpeggio over the chord, an octave up, through the whole loop: it carries the join.
        const int* tones = (bar % 8 == 7) ? ResolvedLastChord : chord.notes;
        // Each section moves the figure differently so the pattern never wears thin:
        // eighths rising, sixteenths up and down, broken sixteenths, eighths falling.
        static const int orders[4][8] = {
            {0, 1, 2, 3, 0, 1, 2, 3}, {0, 1, 2, 3, 4, 3, 2, 1}, {0, 2, 1, 3, 2, 4, 3, 1}, {4, 3, 2, 1, 4, 3, 2, 1}};
        const bool eighths = section == 0 || section == 3;
        const int step = eighths ? 2 : 1;
        for (int i = 0; i < 16; i += step) {
            const int k = orders[section][(i / step) % 8];
            const int midi = (k < 4 ? tones[k] : tones[0] + 12) + 12;
            const float accent = (i % 4 == 0) ? 1.0f : 0.7f;
            PlayFm(keys, start + i * Sixteenth, midi, 2.0f, 2.2f, eighths ? 0.32f : 0.22f,
                (i / step) % 2 ? 0.45f : -0.45f, accent * (eighths ? 1.15f : 1.0f));
        }
    }
}

void WriteMelodies(Bus& lead, Bus& bells)
{
    for (int bar = 8; bar < 24; ++bar) {
        const char* text = bar < 16 ? TuneA[bar % 8] : TuneB[bar % 8];
        for (const Note& n : ParseBar(text)) {
            PlayLead(lead, BarStart(bar) + n.start * Sixteenth, SixteenthsToSeconds(n.length), n.midi, 1.0f);
        }
    }
    for (int bar = 24; bar < 32; ++bar) {
        for (const Note& n : ParseBar(BellLine[bar % 8])) {
            PlayFm(bells, BarStart(bar) + n.start * Sixteenth, n.midi, 3.5f, 2.2f, 0.7f, 0.2f, 1.0f);
        }
    }
}

void WriteDrums(Bus& drums)
{
    Rng rng(9);
    for (int bar = 0; bar < MusicBars; ++bar) {
        const int section = bar / 8;
        const long start = BarStart(bar);
        const bool full = section == 1 || section == 2;
        if (section == 0 && bar < 4) {
            continue;  // the intro begins with harmony alone
        }
        for (int i = 0; i < 16; ++i) {
            const long at = start + i * Sixteenth;
            if (full) {
                if (i == 0 || i == 6 || i == 8 || (i == 14 && bar % 2)) {
                    PlayKick(drums, at, 0.9f);
                }
                if (i == 4 || i == 12) {
                    PlaySnare(drums, at, 0.45f, rng);
                }
                const bool open = section == 2 && i == 14;  // the second tune lifts with an open hat
                if (open) {
                    PlayHat(drums, at, 0.2f, rng, 0.12f);
                } else if (i % 2 == 0) {
                    PlayHat(drums, at, (i % 4 == 2) ? 0.26f : 0.16f, rng);
                }
                if (i == 15) {
                    PlayHat(drums, at, 0.11f, rng);
                }
                if (bar % 8 == 7 && i >= 12) {
                    PlaySnare(drums, at, 0.12f + 0.06f * (i - 12), rng);  // fill
                }
            } else {
                if (i == 0 || (section == 3 && i == 8)) {
                    PlayKick(drums, at, 0.6f);
                }
                if (i % 4 == 2) {
                    PlayHat(drums, at, 0.16f, rng);
                }
            }
        }
    }
}

// Ping-pong echo of a dotted eighth, run round the loop twice for a seamless tail.
void AddEcho(Bus& out, const Bus& in, float send)
{
    const int delay = 3 * Sixteenth;
    std::vector<float> l(LoopLength), r(LoopLength);
    Biquad toneL = Biquad::LowPass(3500.0f, 0.7f), toneR = Biquad::LowPass(3500.0f, 0.7f);
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < LoopLength; ++i) {
            const int j = i >= delay ? i - delay : i - delay + LoopLength;
            // Left echoes what came right, and right what came left: it bounces.
            l[i] = toneL.Process(in.right[j] * send + r[j] * 0.38f);
            r[i] = toneR.Process(in.left[j] * send + l[j] * 0.38f);
        }
    }
    for (int i = 0; i < LoopLength; ++i) {
        out.left[i] += l[i];
        out.right[i] += r[i];
    }
}

// A small room: parallel feedback combs and series all-passes per side.
void AddReverb(Bus& out, const Bus& in, float send)
{
    const int combs[2][4] = {{1557, 1617, 1491, 1422}, {1580, 1640, 1514, 1445}};
    const int allpasses[2] = {225, 556};
    for (int side = 0; side < 2; ++side) {
        const std::vector<float>& src = side ? in.right : in.left;
        std::vector<float> wet(LoopLength, 0.0f);
        for (int c = 0; c < 4; ++c) {
            const int d = combs[side][c] * 2;
            std::vector<float> y(LoopLength, 0.0f);
            float damp = 0;
            for (int pass = 0; pass < 2; ++pass) {
                for (int i = 0; i < LoopLength; ++i) {
                    const int j = i >= d ? i - d : i - d + LoopLength;
                    damp = y[j] * 0.7f + damp * 0.3f;
                    y[i] = src[i] * send + damp * 0.8f;
                }
            }
            for (int i = 0; i < LoopLength; ++i) {
                wet[i] += y[i] * 0.25f;
            }
        }
        for (int a = 0; a < 2; ++a) {
            const int d = allpasses[a];
            std::vector<float> y(LoopLength, 0.0f);
            for (int pass = 0; pass < 2; ++pass) {
                for (int i = 0; i < LoopLength; ++i) {
                    const int j = i >= d ? i - d : i - d + LoopLength;
                    y[i] = -0.5f * wet[i] + wet[j] + 0.5f * y[j];
                }
            }
            wet = y;
        }
        std::vector<float>& dst = side ? out.right : out.left;
        for (int i = 0; i < LoopLength; ++i) {
            dst[i] += wet[i];
        }
    }
}

void Mix(Bus& out, const Bus& in, float gain)
{
    for (int i = 0; i < LoopLength; ++i) {
        out.left[i] += in.left[i] * gain;
        out.right[i] += in.right[i] * gain;
    }
}

void FilterBus(Bus& bus, Biquad filter)
{
    FilterLooped(bus.left, filter);
    FilterLooped(bus.right, filter);
}

}  // namespace

StereoMusic ComposeMusic()
{
    Bus pads, bass, keys, lead, bells, drums;
    WriteHarmony(pads, bass, keys);
    WriteMelodies(lead, bells);
    WriteDrums(drums);
    FilterBus(pads, Biquad::LowPass(2400.0f, 0.7f));
    FilterBus(bass, Biquad::LowPass(900.0f, 0.7f));

    Bus dry, sends;
    Mix(dry, pads, 0.04f);
    Mix(dry, bass, 0.14f);
    Mix(dry, keys, 0.11f);
    Mix(dry, lead, 0.19f);
    Mix(dry, bells, 0.2f);
    Mix(dry, drums, 0.45f);
    Mix(sends, keys, 0.11f);
    Mix(sends, lead, 0.19f);
    Mix(sends, bells, 0.2f);

    Bus echoes;
    AddEcho(echoes, sends, 0.35f);
    Bus room = sends;
    Mix(room, pads, 0.05f);
    Mix(room, drums, 0.12f);
    Bus master = dry;
    Mix(master, echoes, 1.0f);
    AddReverb(master, room, 0.5f);
    FilterBus(master, Biquad::HighPass(25.0f, 0.7f));

    StereoMusic music{std::move(master.left), std::move(master.right)};
    // One gain for both sides keeps the stereo picture; peak at -2 dBFS leaves the
    // encoder room for its overshoot.
    const float peak = std::max(Peak(music.left), Peak(music.right));
    const float gain = DbToGain(-2.0f) / peak;
    for (float& s : music.left) {
        s *= gain;
    }
    for (float& s : music.right) {
        s *= gain;
    }
    RemoveDc(music.left);
    RemoveDc(music.right);
    return music;
}
