// random.h -- the game's own pseudo-random generator, the same on every build.
#pragma once

#include <cstdint>

constexpr int32_t RandomMax = 32767;

// Seeds the generator (start-up uses the tick count).
void SeedRandom(uint32_t seed);

// Next number from 0 to RandomMax: state * 214013 + 2531011, bits 16 to 30.
int32_t Random();
