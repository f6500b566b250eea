// POSIX implementation of the platform layer.
#include "core/Platform.h"

#include <cxxabi.h>
#include <dlfcn.h>
#include <execinfo.h>
#include <locale.h>
#include <sys/resource.h>
#include <sys/times.h>
#include <time.h>
#include <unistd.h>

#include <cstdlib>

bool PlatformMonotonicCounter(std::int64_t& count)
{
    timespec now{};
    if (clock_gettime(CLOCK_MONOTONIC, &now) != 0)
        return false;
    count = static_cast<std::int64_t>(now.tv_sec) * 1000000000LL + now.tv_nsec;
    return true;
}

bool PlatformMonotonicFrequency(std::int64_t& frequency)
{
    timespec resolution{};
    if (clock_getres(CLOCK_MONOTONIC, &resolution) != 0)
        return false;
    frequency = 1000000000LL;
    return true;
}

std::int64_t PlatformTickCount()
{
    tms ignored{};
    const long ticks_per_second = sysconf(_SC_CLK_TCK);
    const clock_t ticks = times(&ignored);
    if (ticks_per_second <= 0 || ticks == static_cast<clock_t>(-1))
        return 0;
    return static_cast<std::int64_t>(ticks) * 1000 / ticks_per_second;
}

bool PlatformProcessUserMilliseconds(std::int64_t& milliseconds)
{
    rusage usage{};
    if (getrusage(RUSAGE_SELF, &usage) != 0)
        return false;
    milliseconds = static_cast<std::int64_t>(usage.ru_utime.tv_sec) * 1000 + usage.ru_utime.tv_usec / 1000;
    return true;
}

namespace {

const char* AnsiCode(int attribute)
{
    switch (attribute) {
    case 8:
        return "\033[90m";
    case 12:
        return "\033[91m";
    case 14:
        return "\033[93m";
    default:
        return "\033[0m";
    }
}

// Intentionally leaked: formatting may happen while static objects are destroyed.
locale_t ClassicLocale()
{
    static locale_t classic = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return classic;
}

}  // namespace

void PlatformSetConsoleColour(std::FILE* stream, int attribute)
{
    if (!isatty(fileno(stream)))
        return;
    std::fputs(AnsiCode(attribute), stream);
    std::fflush(stream);
}

int PlatformFormatClassic(char* buffer, std::size_t size, const char* format, va_list args)
{
    const locale_t classic = ClassicLocale();
    const locale_t previous = classic ? uselocale(classic) : static_cast<locale_t>(nullptr);
    const int written = std::vsnprintf(buffer, size, format, args);
    if (classic)
        uselocale(previous);
    return written;
}

std::vector<void*> PlatformCaptureStack(int max_frames)
{
    // One more frame than asked for: this function's own.
    std::vector<void*> frames(static_cast<std::size_t>(max_frames) + 1);
    const int count = backtrace(frames.data(), max_frames + 1);
    if (count <= 1)
        return {};
    return std::vector<void*>(frames.begin() + 1, frames.begin() + count);
}

std::string PlatformSymbolName(void* address)
{
    Dl_info info{};
    if (dladdr(address, &info) == 0 || info.dli_sname == nullptr)
        return std::string();
    int status = 0;
    char* demangled = abi::__cxa_demangle(info.dli_sname, nullptr, nullptr, &status);
    std::string name = (status == 0 && demangled) ? demangled : info.dli_sname;
    std::free(demangled);
    return name;
}
