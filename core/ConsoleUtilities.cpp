#include "core/Utilities.h"

#include <cstdarg>
#include <cstdio>

#include "core/Platform.h"

namespace {

constexpr int kMaxFrames = 128;

void PrintColoured(std::FILE* stream, int colour, const char* label, const std::string& text)
{
    PlatformSetConsoleColour(stream, colour);
    std::fprintf(stream, "%s: %s\n", label, text.c_str());
    PlatformSetConsoleColour(stream, 8);
    std::fputs(GetCallstack("  ", "PrintToConsole").c_str(), stream);
    PlatformSetConsoleColour(stream, 7);
    std::fflush(stream);
}

}  // namespace

void PrintToConsole(int kind, const std::string& text)
{
    if (kind == kConsoleError) {
        PrintColoured(stderr, 12, "Error", text);
    } else if (kind == kConsoleWarning) {
        PrintColoured(stdout, 14, "Warning", text);
    } else {
        std::fprintf(stdout, "%s\n", text.c_str());
        std::fflush(stdout);
    }
}

void PrintToConsoleF(int kind, const char* format, ...)
{
    char buffer[2048];
    va_list args;
    va_start(args, format);
    const int written = PlatformFormatClassic(buffer, sizeof(buffer), format, args);
    va_end(args);
    if (written < 0)
        buffer[0] = '\0';
    buffer[sizeof(buffer) - 1] = '\0';
    PrintToConsole(kind, buffer);
}

std::string GetFrameText(void* address)
{
    return PlatformSymbolName(address);
}

std::string GetCallstack(const char* indent, const char* skip_name)
{
    std::string stack;
    const std::vector<void*> frames = PlatformCaptureStack(kMaxFrames);
    std::string skip = skip_name ? skip_name : "";
    for (void* return_address : frames) {
        // A return address may lie just past its function's end; look up the call itself.
        const std::string text = GetFrameText(static_cast<char*>(return_address) - 1);
        // A frame without a symbol writes nothing and cannot end the skipped frames.
        if (text.empty())
            continue;
        // The capture itself is not part of the stack it reports.
        if (text.rfind("GetCallstack(", 0) == 0)
            continue;
        if (!skip.empty() && text.find(skip) != std::string::npos)
            continue;
        skip.clear();
        stack += std::string(indent) + text + "\n";
        if (text == "main")
            break;
    }
    return stack;
}
