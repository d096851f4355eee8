// wav_writer.h -- 16-bit PCM WAVE files with the canonical 44-byte header.
#pragma once

#include <cstdint>
#include <vector>

// Mono samples in [-1, 1]; values outside are clipped.
std::vector<uint8_t> EncodeWav16(const std::vector<float>& mono, int sampleRate);
int16_t ToPcm16(float v);
