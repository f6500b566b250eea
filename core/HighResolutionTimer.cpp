#include "core/HighResolutionTimer.h"

#include "core/Platform.h"
#include "core/Utilities.h"

HighResolutionTimer::HighResolutionTimer()
    : HighResolutionTimer(&PlatformMonotonicCounter, &PlatformMonotonicFrequency, &PlatformTickCount)
{
}

HighResolutionTimer::HighResolutionTimer(CounterQuery counter, CounterQuery frequency_query, TickQuery ticks)
{
    if (!counter(start_count))
        start_count = 0;
    if (!frequency_query(frequency)) {
        PrintToConsoleF(kConsoleError, "The system doesn't support high-resolution timers!");
        frequency = -1;
    }
    if (start_count == 0)
        start_count = ticks();
}
