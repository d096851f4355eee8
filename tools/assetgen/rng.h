// rng.h -- a small fixed generator so that every build draws the same noise.
#pragma once

#include <cstdint>

class Rng {
public:
    explicit Rng(uint64_t seed) : state(seed * 0x9E3779B97F4A7C15ull + 1) {}

    uint32_t Next()
    {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return static_cast<uint32_t>(state >> 16);
    }
    // Uniform in [0, 1).
    float Unit() { return static_cast<float>(Next() & 0xFFFFFF) / 16777216.0f; }
    // Uniform in [-1, 1).
    float Signed() { return Unit() * 2.0f - 1.0f; }
    int Below(int n) { return static_cast<int>(Next() % static_cast<uint32_t>(n)); }

private:
    uint64_t state;
};
