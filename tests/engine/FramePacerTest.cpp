#include "engine/FramePacer.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace {

constexpr std::int64_t kMs = 1000000;
constexpr std::int64_t kStart = 5000 * kMs;

struct PeriodCase {
    double rate;
    std::optional<int> period_ms;
};

}  // namespace

TEST(FramePacerTest, PeriodFollowsTheRateAndOddRatesSetNoPace)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const double denormal = std::numeric_limits<double>::denorm_min();
    const PeriodCase cases[] = {
        {30.0, 33},
        {150.0, 6},
        {7.0, 142},
        {0.3, 3333},
        {1000.0, 1},
        {2000.0, 0},
        {0.0, std::nullopt},
        {-0.0, std::nullopt},
        {-30.0, std::nullopt},
        {nan, std::nullopt},
        {inf, std::nullopt},
        {-inf, std::nullopt},
        {denormal, std::nullopt},
        {1000.0 / 2147483648.0, std::nullopt},
        {1e-7, std::nullopt},
    };
    for (const PeriodCase& c : cases)
        EXPECT_EQ(FramePacer::PeriodMs(c.rate), c.period_ms) << "rate " << c.rate;
}

TEST(FramePacerTest, PassesOnTimeWaitUntilTheNextSlot)
{
    const struct {
        double rate;
        std::int64_t period_ns;
    } cases[] = {{30.0, 33 * kMs}, {150.0, 6 * kMs}, {7.0, 142 * kMs}};
    for (const auto& c : cases) {
        FramePacer pacer;
        pacer.Restart(kStart);
        EXPECT_EQ(pacer.Advance(kStart + kMs, c.rate, true), kStart + c.period_ns);
        // Woken at the slot: the next one follows a full period later.
        EXPECT_EQ(pacer.Advance(kStart + c.period_ns, c.rate, true), kStart + 2 * c.period_ns);
    }
}

TEST(FramePacerTest, RatesThatSetNoPaceNeverDelay)
{
    const double rates[] = {0.0, -5.0, std::numeric_limits<double>::quiet_NaN(),
                            std::numeric_limits<double>::infinity(), 1e-300};
    for (double rate : rates) {
        FramePacer pacer;
        pacer.Restart(kStart);
        EXPECT_EQ(pacer.Advance(kStart, rate, true), std::nullopt) << "rate " << rate;
        EXPECT_EQ(pacer.Advance(kStart + 1, rate, true), std::nullopt) << "rate " << rate;
    }
}

TEST(FramePacerTest, LatePassRestartsTheScheduleFromNow)
{
    FramePacer pacer;
    pacer.Restart(kStart);
    const std::int64_t late = kStart + 100 * kMs;
    EXPECT_EQ(pacer.Advance(late, 30.0, true), std::nullopt);
    // Paced from the late pass's end, not hurrying to make up the missed slots.
    EXPECT_EQ(pacer.Advance(late + kMs, 30.0, true), late + 33 * kMs);
}

TEST(FramePacerTest, LimitOffNeverWaitsAndSwitchingItOnCausesNoBurst)
{
    FramePacer pacer;
    pacer.Restart(kStart);
    std::int64_t now = kStart;
    for (int pass = 0; pass < 5; ++pass) {
        now += kMs;
        EXPECT_EQ(pacer.Advance(now, 30.0, false), std::nullopt);
    }
    EXPECT_EQ(pacer.Advance(now + kMs, 30.0, true), now + 33 * kMs);
}
