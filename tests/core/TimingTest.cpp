#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <thread>

#include "core/HighResolutionTimer.h"
#include "core/Platform.h"
#include "core/StopWatch.h"
#include "core/Utilities.h"
#include "support/TestSupport.h"

namespace {

bool Fails(std::int64_t&)
{
    return false;
}

bool CountsFive(std::int64_t& value)
{
    value = 5;
    return true;
}

bool GigaHertz(std::int64_t& value)
{
    value = 1000000000LL;
    return true;
}

std::int64_t FortyTwoTicks()
{
    return 42;
}

// Burns CPU on this thread until the process's user time has grown by the amount.
void BurnCpu(double seconds)
{
    const double start = GetProcessCpuSeconds();
    volatile unsigned sink = 0;
    ASSERT_TRUE(testsupport::WaitFor([&] {
        for (int i = 0; i < 100000; ++i)
            sink = sink + i;
        return GetProcessCpuSeconds() - start >= seconds;
    }));
}

TEST(HighResolutionTimer, UsesTheMonotonicCounter)
{
    testing::internal::CaptureStderr();
    const HighResolutionTimer timer(&CountsFive, &GigaHertz, &FortyTwoTicks);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(timer.start_count, 5);
    EXPECT_EQ(timer.frequency, 1000000000LL);
}

TEST(HighResolutionTimer, FallsBackToTickCountWithAnError)
{
    testing::internal::CaptureStderr();
    const HighResolutionTimer timer(&Fails, &Fails, &FortyTwoTicks);
    const std::string error = testing::internal::GetCapturedStderr();
    EXPECT_EQ(error.rfind("Error: The system doesn't support high-resolution timers!\n", 0), 0u) << error;
    EXPECT_EQ(timer.frequency, -1);
    EXPECT_EQ(timer.start_count, 42);
}

TEST(HighResolutionTimer, PlatformCounterIsNanosecondsAndMonotonic)
{
    std::int64_t frequency = 0, first = 0, second = 0;
    ASSERT_TRUE(PlatformMonotonicFrequency(frequency));
    EXPECT_EQ(frequency, 1000000000LL);
    ASSERT_TRUE(PlatformMonotonicCounter(first));
    ASSERT_TRUE(PlatformMonotonicCounter(second));
    EXPECT_GT(first, 0);
    EXPECT_GE(second, first);
    EXPECT_GE(PlatformTickCount(), 0);
}

TEST(StopWatch, MeasuresAndRestarts)
{
    StopWatch watch;
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    const double elapsed = watch.GetElapsedSeconds();
    EXPECT_GE(elapsed, 0.03);
    EXPECT_LT(elapsed, 30.0);
    // However long the machine keeps this thread from running, the watch counts from the
    // restart: no more than a clock started before it.
    const StopWatch before_restart;
    watch.Restart();
    const double since_restart = watch.GetElapsedSeconds();
    EXPECT_LE(since_restart, before_restart.GetElapsedSeconds());
    EXPECT_GE(since_restart, 0.0);
}

TEST(CpuUsage, ProcessCpuTimeGrowsWithWork)
{
    const double before = GetProcessCpuSeconds();
    EXPECT_GE(before, 0.0);
    BurnCpu(0.05);
    // Whole milliseconds: 0.054 - 0.004 falls just short of 0.05 in floating point.
    EXPECT_GE(std::llround((GetProcessCpuSeconds() - before) * 1000.0), 50);
}

TEST(CpuUsage, FigureIsZeroWithoutElapsedTime)
{
    EXPECT_EQ(CpuUsagePercent(1.0, 1.5, 0.0), 0.0);
    EXPECT_EQ(CpuUsagePercent(1.0, 1.0, 0.0), 0.0);
    EXPECT_DOUBLE_EQ(CpuUsagePercent(1.0, 1.5, 0.5), 100.0);
    EXPECT_DOUBLE_EQ(CpuUsagePercent(2.0, 2.25, 1.0), 25.0);
}

TEST(CpuUsage, BusyThreadShowsUse)
{
    GetCpuUsage();
    BurnCpu(0.05);
    const double figure = GetCpuUsage();
    EXPECT_TRUE(std::isfinite(figure));
    EXPECT_GT(figure, 0.0);
    EXPECT_TRUE(std::isfinite(GetCpuUsage()));
}

}  // namespace
