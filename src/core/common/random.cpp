// random.cpp -- linear congruential generator shared by every random choice.
#include "core/common/random.h"

namespace {
uint32_t RandomState = 1;
}

void SeedRandom(uint32_t seed)
{
    RandomState = seed;
}

int32_t Random()
{
    RandomState = RandomState * 214013u + 2531011u;
    return static_cast<int32_t>((RandomState >> 16) & 0x7FFFu);
}
