#pragma once
// The thin layer over the operating system that the utilities stand on: the monotonic
// counter, the tick count, the process CPU time, console colours and call-stack capture.

#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// The monotonic counter in nanoseconds; false when the system has none.
bool PlatformMonotonicCounter(std::int64_t& count);
// The counter's counts per second (1e9); false when the system has no monotonic counter.
bool PlatformMonotonicFrequency(std::int64_t& frequency);
// A millisecond tick count from an arbitrary start.
std::int64_t PlatformTickCount();

// The process's user-mode CPU time in milliseconds; false when it cannot be read.
bool PlatformProcessUserMilliseconds(std::int64_t& milliseconds);

// Console text attributes as the system uses them: 7 normal, 8 grey, 12 bright red,
// 14 yellow. Written as ANSI codes, and only when the stream is a terminal.
void PlatformSetConsoleColour(std::FILE* stream, int attribute);

// vsnprintf in the classic "C" locale, whatever the process's locale.
int PlatformFormatClassic(char* buffer, std::size_t size, const char* format, va_list args);

// Return addresses of the calling thread's stack, innermost first, starting with the
// caller of this function; at most max_frames.
std::vector<void*> PlatformCaptureStack(int max_frames);
// The demangled name of the function that holds the address; empty when unknown.
std::string PlatformSymbolName(void* address);
