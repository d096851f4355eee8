// ogg_encoder.h -- Ogg Vorbis encoding of the music with libvorbisenc.
#pragma once

#include <cstdint>
#include <vector>

#include "music.h"

// Encodes stereo music at a modest quality; the fixed stream serial number keeps
// the bytes the same on every run. Empty when the encoder refuses the format.
std::vector<uint8_t> EncodeOggVorbis(const StereoMusic& music, int sampleRate);
