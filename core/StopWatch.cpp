#include "core/StopWatch.h"

#include "core/HighResolutionTimer.h"

namespace {
// Made during static initialisation of every program that times anything, so a missing
// high-resolution counter is reported at start-up.
const HighResolutionTimer startup_timer;
}  // namespace

StopWatch::StopWatch() : start_(boost::chrono::steady_clock::now()) {}

double StopWatch::GetElapsedSeconds() const
{
    const boost::chrono::nanoseconds elapsed = boost::chrono::steady_clock::now() - start_;
    return static_cast<double>(elapsed.count()) / 1e9;
}

void StopWatch::Restart()
{
    start_ = boost::chrono::steady_clock::now();
}
