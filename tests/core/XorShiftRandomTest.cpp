#include <gtest/gtest.h>

#include "core/Utilities.h"

#include <boost/thread/thread.hpp>

#include <cstdint>
#include <vector>

// The generator is never reseeded, so a fresh process always starts the same sequence.
TEST(XorShiftRandom, SequenceFromTheFixedSeeds)
{
    const std::uint32_t expected[] = {1588437975u, 2268752316u, 3071397075u, 1066942004u, 2996772340u};
    for (const std::uint32_t value : expected)
        EXPECT_EQ(XorShiftRandom(), value);
}

// Each thread has its own state: a new thread starts the sequence afresh, and draws on
// one thread leave another's sequence alone.
TEST(XorShiftRandom, StatePerThread)
{
    auto draw = [](std::vector<std::uint32_t>& values) {
        for (int i = 0; i < 5; ++i)
            values.push_back(XorShiftRandom());
    };
    std::vector<std::uint32_t> first;
    std::vector<std::uint32_t> second;
    boost::thread one([&] { draw(first); });
    one.join();
    XorShiftRandom();
    boost::thread two([&] { draw(second); });
    two.join();
    EXPECT_EQ(first, second);
    EXPECT_EQ(first.front(), 1588437975u);
}
