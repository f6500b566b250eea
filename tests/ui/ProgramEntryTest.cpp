// The program entry: command-line options, the terminate handler and the welcome text.
#include "ui/shell/ProgramEntry.h"

#include "core/FILELog.h"

#include <gtest/gtest.h>

#include <csignal>
#include <exception>
#include <iostream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

int CountOf(const std::string& text, const std::string& part)
{
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

// Runs ParseCommandLine on the words and returns how often "Debug mode" was logged.
int DebugLinesFor(std::vector<std::string> words)
{
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    Output2FILE::Drain();
    ParseCommandLine(static_cast<int>(words.size()), argv.data());
    return CountOf(Output2FILE::Drain(), "Debug mode");
}

class ReportingLevel {
public:
    explicit ReportingLevel(int level) : old_(FILELog::ReportingLevel())
    {
        FILELog::ReportingLevel() = level;
    }
    ~ReportingLevel() { FILELog::ReportingLevel() = old_; }

private:
    int old_;
};

}  // namespace

TEST(ParseCommandLineTest, DebugOptionIsFoundAnywhereAndOnlyWhenExact)
{
    ReportingLevel level(logDEBUG1);
    const struct {
        std::vector<std::string> words;
        int debug_lines;
    } cases[] = {
        {{"orvane"}, 0},
        {{"orvane", "-d"}, 1},
        {{"-d"}, 1},  // the program name is compared too
        {{"orvane", "-l"}, 0},
        {{"orvane", "-l", "-d", "file", "-d"}, 2},
        {{"orvane", "-d", "-l"}, 1},
        {{"orvane", "-dd", "-D", "--d", "-d ", " -d", "d", "-debug", "-L", "-ld"}, 0},
        {{}, 0},
    };
    for (const auto& c : cases) {
        std::string shown;
        for (const std::string& word : c.words)
            shown += "[" + word + "]";
        EXPECT_EQ(c.debug_lines, DebugLinesFor(c.words)) << shown;
    }
}

TEST(ParseCommandLineTest, DebugModeIsNotLoggedBelowDebug1)
{
    ReportingLevel level(logDEBUG);
    EXPECT_EQ(0, DebugLinesFor({"orvane", "-d"}));
}

TEST(TerminateHandlerDeathTest, WritesToTheRealStandardOutputAndAborts)
{
    // The child sends its standard output to standard error, where the death test reads,
    // and replaces std::cout's buffer as the log view does: the message must not go there.
    EXPECT_EXIT(
        {
            dup2(STDERR_FILENO, STDOUT_FILENO);
            std::ostringstream captured;
            std::cout.rdbuf(captured.rdbuf());
            std::set_terminate(TerminateHandler);
            std::terminate();
        },
        testing::KilledBySignal(SIGABRT), "Called to terminate\n");
}

TEST(WelcomeTextTest, OpensWithABlankLineAndNamesTheSourcesForUsersWithoutACamera)
{
    const std::string text = WelcomeText();
    ASSERT_FALSE(text.empty());
    EXPECT_EQ('\n', text.front());
    EXPECT_NE(std::string::npos, text.find("\"Video Read\""));
    EXPECT_NE(std::string::npos, text.find("\"Image Read\""));
}
