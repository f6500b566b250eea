#pragma once
// The start-up record of the high-resolution counter: its start count and its frequency
// in counts per second (-1 when the system has none, after which the start count comes
// from the millisecond tick count and a console error is printed). One record is made
// during static initialisation; nothing reads it afterwards.

#include <cstdint>

struct HighResolutionTimer {
    using CounterQuery = bool (*)(std::int64_t& value);
    using TickQuery = std::int64_t (*)();

    // Uses the platform's monotonic counter and tick count.
    HighResolutionTimer();
    // Uses the given queries; lets the fall-back be exercised.
    HighResolutionTimer(CounterQuery counter, CounterQuery frequency_query, TickQuery ticks);

    std::int64_t start_count = 0;
    std::int64_t frequency = 0;
};
