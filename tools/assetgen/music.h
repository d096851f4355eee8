// music.h -- the music loop: an original piece, rendered so that its end runs into its start.
#pragma once

#include <vector>

constexpr int MusicBeatsPerMinute = 105;
constexpr int MusicBars = 32;
constexpr int MusicSamplesPerSixteenth = 6300;  // 44100 * 60 / 105 / 4, a whole number
constexpr int MusicSamplesPerBar = 16 * MusicSamplesPerSixteenth;

struct StereoMusic {
    std::vector<float> left, right;  // equal length, MusicBars whole bars at 44100 Hz
};

StereoMusic ComposeMusic();
