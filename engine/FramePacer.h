// The frame-rate schedule of one connection thread: when the next pass may end.
// Owned by its Looper and used by the connection thread alone, so it has no lock.
#pragma once

#include <cstdint>
#include <optional>

class FramePacer {
public:
    // Whole milliseconds between frames at the rate (truncated: 30 gives 33).
    // Empty when the rate sets no pace: not finite, not positive, or so small
    // that the period does not fit in an int.
    static std::optional<int> PeriodMs(double frames_per_second);

    // Starts the schedule at the given steady-clock time in nanoseconds.
    void Restart(std::int64_t now_ns);

    // Moves the schedule on by one frame at the end of a pass and returns the
    // time to sleep until, or nothing when the pass must not wait. A late pass
    // restarts the schedule from now instead of hurrying to catch up; with the
    // limit off the schedule follows the passes, so switching it on causes no burst.
    std::optional<std::int64_t> Advance(std::int64_t now_ns, double frames_per_second, bool limit);

private:
    std::int64_t next_frame_ns_ = 0;
};
