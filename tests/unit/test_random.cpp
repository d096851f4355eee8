// The generator must give the same numbers on every build from the same seed.
#include "common/random.h"
#include "test_support.h"

TEST(Random, KnownSequenceFromSeedOne)
{
    SeedRandom(1);
    EXPECT_EQ(Random(), 41);
    EXPECT_EQ(Random(), 18467);
    EXPECT_EQ(Random(), 6334);
    EXPECT_EQ(Random(), 26500);
}

TEST(Random, StaysWithinRange)
{
    SeedRandom(0xFFFFFFFFu);
    for (int i = 0; i < 100000; ++i) {
        const int32_t value = Random();
        ASSERT_GE(value, 0);
        ASSERT_LE(value, RandomMax);
    }
}
