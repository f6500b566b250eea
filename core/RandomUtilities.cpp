#include "core/Utilities.h"

std::uint32_t XorShiftRandom()
{
    // Per thread: test patterns draw from several connection threads at once.
    thread_local std::uint32_t x = 123456789u;
    thread_local std::uint32_t y = 362436069u;
    thread_local std::uint32_t z = 521288629u;
    std::uint32_t t = x ^ (x << 16);
    t ^= t >> 5;
    t ^= t << 1;
    x = y;
    y = z;
    z = t ^ x ^ y;
    return z;
}
