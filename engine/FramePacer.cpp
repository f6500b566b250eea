#include "engine/FramePacer.h"

#include <cmath>
#include <limits>

std::optional<int> FramePacer::PeriodMs(double frames_per_second)
{
    if (!std::isfinite(frames_per_second) || frames_per_second <= 0.0)
        return std::nullopt;
    const double period = 1000.0 / frames_per_second;
    if (!std::isfinite(period) || period >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::nullopt;
    return static_cast<int>(period);
}

void FramePacer::Restart(std::int64_t now_ns)
{
    next_frame_ns_ = now_ns;
}

std::optional<std::int64_t> FramePacer::Advance(std::int64_t now_ns, double frames_per_second, bool limit)
{
    const std::optional<int> period_ms = PeriodMs(frames_per_second);
    if (!period_ms) {
        next_frame_ns_ = now_ns;
        return std::nullopt;
    }
    const std::int64_t target = next_frame_ns_ + static_cast<std::int64_t>(*period_ms) * 1000000;
    if (target < now_ns || !limit) {
        next_frame_ns_ = now_ns;
        return std::nullopt;
    }
    next_frame_ns_ = target;
    return target;
}
