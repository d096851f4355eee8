// wav_writer.cpp -- the one WAVE layout the game accepts: "fmt " of 16 bytes, then "data".
#include "wav_writer.h"

#include <cmath>

#include "byte_writer.h"

int16_t ToPcm16(float v)
{
    const float scaled = std::round(v * 32767.0f);
    if (scaled > 32767.0f) {
        return 32767;
    }
    if (scaled < -32768.0f) {
        return -32768;
    }
    return static_cast<int16_t>(scaled);
}

std::vector<uint8_t> EncodeWav16(const std::vector<float>& mono, int sampleRate)
{
    const uint32_t dataSize = static_cast<uint32_t>(mono.size() * 2);
    ByteWriter out;
    out.Bytes("RIFF", 4);
    out.U32(36 + dataSize);
    out.Bytes("WAVE", 4);
    out.Bytes("fmt ", 4);
    out.U32(16);
    out.U16(1);  // PCM
    out.U16(1);  // mono
    out.U32(static_cast<uint32_t>(sampleRate));
    out.U32(static_cast<uint32_t>(sampleRate) * 2);
    out.U16(2);
    out.U16(16);
    out.Bytes("data", 4);
    out.U32(dataSize);
    for (float v : mono) {
        out.U16(static_cast<uint16_t>(ToPcm16(v)));
    }
    return out.Take();
}
