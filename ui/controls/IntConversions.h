#pragma once
// Double to int conversions for the value controls: held inside the int range, so
// an unbounded or huge value never overflows the conversion.

#include <algorithm>
#include <climits>
#include <cmath>

// Toward zero; NaN gives 0, infinities the nearest int bound.
inline int TruncateToInt(double value)
{
    if (std::isnan(value))
        return 0;
    return static_cast<int>(std::clamp(value, double(INT_MIN), double(INT_MAX)));
}

// Half up (the largest integer not above value + 0.5), also for negative values.
inline double RoundHalfUp(double value)
{
    return std::floor(value + 0.5);
}

inline int RoundHalfUpToInt(double value)
{
    return TruncateToInt(RoundHalfUp(value));
}
