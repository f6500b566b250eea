#include "core/FrameNumber.h"

#include <memory>
#include <vector>

#include <gtest/gtest.h>

namespace {

TEST(FrameNumberTest, AdvanceSequences)
{
    struct Case {
        long long count;
        long long start;
        bool paused;
        std::vector<long long> expected;
    };
    const std::vector<Case> cases = {
        {3, 0, false, {0, 1, 2, 0, 1}},
        {1, 0, false, {0, 0, 0}},
        {0, 0, false, {0, 0, 0}},
        {3, 1, true, {1, 1, 1}},
        // A position the user set beyond the end is read once, then wraps.
        {3, 7, false, {7, 0, 1}},
        {3, -1, false, {-1, 0, 1}},
    };
    for (const Case& c : cases) {
        FrameNumber number;
        number.SetFrameCount(c.count);
        number.SetFrame(c.start);
        number.SetPaused(c.paused);
        std::vector<long long> got;
        for (size_t i = 0; i < c.expected.size(); ++i)
            got.push_back(number.GetFrameAndAdvance());
        EXPECT_EQ(got, c.expected) << "count " << c.count << " start " << c.start << " paused " << c.paused;
        EXPECT_EQ(number.GetFrameCount(), c.count);
    }
}

TEST(FrameNumberTest, StepsMoveByOneAndReturnTheOldValue)
{
    FrameNumber number;
    number.SetFrameCount(10);
    number.SetPaused(true);
    EXPECT_EQ(number.StepForward(), 0);
    EXPECT_EQ(number.GetFrame(), 1);
    EXPECT_EQ(number.GetFrameAndAdvance(), 1);
    EXPECT_EQ(number.StepBack(), 1);
    EXPECT_EQ(number.StepBack(), 0);
    EXPECT_EQ(number.GetFrame(), -1);

    number.SetPaused(false);
    EXPECT_EQ(number.GetFrameAndAdvance(), -1);
    EXPECT_EQ(number.GetFrame(), 0);
}

TEST(FrameNumberTest, DestroyedSignalFiresOnDestruction)
{
    int fired = 0;
    auto number = std::make_unique<FrameNumber>();
    number->destroyed_signal.connect([&fired] { ++fired; });
    EXPECT_EQ(fired, 0);
    number.reset();
    EXPECT_EQ(fired, 1);
}

}  // namespace
