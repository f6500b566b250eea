#include <gtest/gtest.h>

#include "core/Utilities.h"

// The generator is never reseeded, so a fresh process always starts the same sequence.
TEST(XorShiftRandom, SequenceFromTheFixedSeeds)
{
    const std::uint32_t expected[] = {1588437975u, 2268752316u, 3071397075u, 1066942004u,
                                      2996772340u};
    for (const std::uint32_t value : expected)
        EXPECT_EQ(XorShiftRandom(), value);
}
