#include "core/Utilities.h"

#include "core/Platform.h"
#include "core/StopWatch.h"

double GetProcessCpuSeconds()
{
    std::int64_t milliseconds = 0;
    if (!PlatformProcessUserMilliseconds(milliseconds))
        return -1.0;
    return static_cast<double>(milliseconds) / 1000.0;
}

double CpuUsagePercent(double previous_cpu_seconds, double cpu_seconds, double elapsed_seconds)
{
    // Two calls within one clock step would otherwise divide by zero.
    if (elapsed_seconds <= 0.0)
        return 0.0;
    return (cpu_seconds - previous_cpu_seconds) / elapsed_seconds * 100.0;
}

double GetCpuUsage()
{
    static StopWatch interval;
    static double previous_cpu_seconds = 0.0;
    const double cpu_seconds = GetProcessCpuSeconds();
    const double figure = CpuUsagePercent(previous_cpu_seconds, cpu_seconds, interval.GetElapsedSeconds());
    previous_cpu_seconds = cpu_seconds;
    interval.Restart();
    return figure;
}
