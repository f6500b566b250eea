#include <gtest/gtest.h>

#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <exception>

#include "core/Platform.h"
#include "core/Utilities.h"

namespace {

// A terminal may hand the bytes over in pieces: read until the count is reached or a second passes.
std::string ReadFromTerminal(int master, std::size_t count)
{
    std::string text;
    char buffer[64];
    while (text.size() < count) {
        pollfd ready{master, POLLIN, 0};
        if (poll(&ready, 1, 1000) != 1)
            break;
        const ssize_t got = read(master, buffer, sizeof(buffer));
        if (got <= 0)
            break;
        text.append(buffer, static_cast<std::size_t>(got));
    }
    return text;
}

TEST(Console, ErrorGoesToStandardErrorWithoutColourWhenNotATerminal)
{
    testing::internal::CaptureStderr();
    PrintToConsole(kConsoleError, "disk full");
    const std::string text = testing::internal::GetCapturedStderr();
    EXPECT_EQ(text.rfind("Error: disk full\n", 0), 0u) << text;
    EXPECT_EQ(text.find('\033'), std::string::npos);
}

TEST(Console, WarningGoesToStandardOutput)
{
    testing::internal::CaptureStdout();
    PrintToConsole(kConsoleWarning, "slow");
    const std::string text = testing::internal::GetCapturedStdout();
    EXPECT_EQ(text.rfind("Warning: slow\n", 0), 0u) << text;
    EXPECT_EQ(text.find('\033'), std::string::npos);
}

TEST(Console, OtherKindsPrintTheTextOnly)
{
    testing::internal::CaptureStdout();
    PrintToConsole(1, "hello");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "hello\n");
}

TEST(Console, FormattedTextIsCutAt2047Characters)
{
    const std::string long_text(3000, 'x');
    testing::internal::CaptureStdout();
    PrintToConsoleF(0, "%d-%s", 7, long_text.c_str());
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(printed, "7-" + std::string(2045, 'x') + "\n");

    testing::internal::CaptureStdout();
    PrintToConsoleF(0, "%.2f %s", 2.5, "ok");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "2.50 ok\n");
}

TEST(Console, ColoursAreAnsiCodesOnATerminal)
{
    int master = -1, slave = -1;
    termios raw{};
    cfmakeraw(&raw);
    if (openpty(&master, &slave, nullptr, &raw, nullptr) != 0)
        GTEST_SKIP() << "no pseudo-terminal on this machine";
    std::FILE* terminal = fdopen(slave, "w");
    ASSERT_NE(terminal, nullptr);
    PlatformSetConsoleColour(terminal, 12);
    PlatformSetConsoleColour(terminal, 7);
    const std::string expected = "\033[91m\033[0m";
    EXPECT_EQ(ReadFromTerminal(master, expected.size()), expected);
    std::fclose(terminal);
    close(master);

    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    PlatformSetConsoleColour(file, 12);
    EXPECT_EQ(std::ftell(file), 0L);
    std::fclose(file);
}

TEST(Callstack, FrameTextIsDemangled)
{
    EXPECT_EQ(GetFrameText(reinterpret_cast<void*>(&std::terminate)), "std::terminate()");
    EXPECT_EQ(GetFrameText(reinterpret_cast<void*>(&std::abort)), "abort");
    EXPECT_EQ(GetFrameText(nullptr), "");
}

std::string captured_stack;
std::string captured_skipped_stack;

int CompareAndCapture(const void* a, const void* b)
{
    captured_stack = GetCallstack("> ", nullptr);
    captured_skipped_stack = GetCallstack("> ", "qsort");
    return *static_cast<const int*>(a) - *static_cast<const int*>(b);
}

// qsort lives in the C library, so its frame has a symbol to see and to skip.
TEST(Callstack, ListsNamedFramesWithIndentAndSkipsLeadingFrames)
{
    int values[] = {2, 1};
    std::qsort(values, 2, sizeof(int), &CompareAndCapture);
    ASSERT_FALSE(captured_stack.empty());
    EXPECT_NE(captured_stack.find("> qsort"), std::string::npos) << captured_stack;
    EXPECT_EQ(captured_stack.find("GetCallstack"), std::string::npos) << captured_stack;
    for (const std::string& line : Split(captured_stack, '\n'))
        EXPECT_EQ(line.rfind("> ", 0), 0u) << line;
    EXPECT_EQ(captured_skipped_stack.find("qsort"), std::string::npos) << captured_skipped_stack;
}

}  // namespace
