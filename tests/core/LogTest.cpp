#include <gtest/gtest.h>

#include <iostream>
#include <map>
#include <regex>
#include <thread>

#include "core/FILELog.h"
#include "core/Utilities.h"
#include "ScopedCommaLocale.h"

namespace {

// Runs the body with standard output captured; returns what it printed.
template <typename Body>
std::string CapturedStdout(Body body)
{
    testing::internal::CaptureStdout();
    body();
    std::cout.flush();
    return testing::internal::GetCapturedStdout();
}

class LogTest : public ::testing::Test {
protected:
    void SetUp() override { Output2FILE::Drain(); }
};

struct LayoutCase {
    TLogLevel level;
    std::string header;  // the level's part of the header, padding and separating space included
};

TEST_F(LogTest, LineLayoutForEveryLevel)
{
    const LayoutCase cases[] = {
        {logERROR, "[ERROR]  "},   {logWARNING, "[WARNING]  "}, {logINFO, "[INFO]   "},
        {logDEBUG, "[DEBUG]  "},   {logDEBUG1, "[DEBUG1]  "},   {logDEBUG2, "[DEBUG2]  "},
        {logDEBUG3, "[DEBUG3]  "}, {logDEBUG4, "[DEBUG4]  "},
    };
    for (const LayoutCase& c : cases) {
        const std::string printed = CapturedStdout([&] { FILE_LOG(c.level) << "message " << 42; });
        const std::string drained = Output2FILE::Drain();
        EXPECT_EQ(printed, drained);
        const std::regex layout(R"(\[\d{4}-\d{2}-\d{2}\.\d{2}:\d{2}:\d{2}\])" +
                                std::regex_replace(c.header, std::regex(R"([\[\]])"), R"(\$&)") +
                                "message 42\n");
        EXPECT_TRUE(std::regex_match(drained, layout)) << "[" << drained << "]";
        const std::size_t message_start = drained.find("message");
        EXPECT_EQ(message_start, 21 + c.header.size()) << drained;
    }
}

TEST_F(LogTest, MessageStartsAfterThirtyToThirtyTwoCharacters)
{
    const std::pair<TLogLevel, std::size_t> cases[] = {
        {logERROR, 30}, {logINFO, 30}, {logDEBUG, 30}, {logDEBUG1, 31}, {logWARNING, 32}};
    for (const auto& c : cases) {
        CapturedStdout([&] { FILE_LOG(c.first) << "M"; });
        EXPECT_EQ(Output2FILE::Drain().find('M', 20), c.second) << FILELog::ToString(c.first);
    }
}

TEST_F(LogTest, LevelNames)
{
    const char* const names[] = {"ERROR", "WARNING", "INFO", "DEBUG", "DEBUG1", "DEBUG2", "DEBUG3", "DEBUG4"};
    for (int level = 0; level < 8; ++level)
        EXPECT_EQ(FILELog::ToString(static_cast<TLogLevel>(level)), names[level]);
    EXPECT_EQ(FILELog::ReportingLevel(), logDEBUG4);
}

TEST_F(LogTest, MessageEndingInLineEndGivesEmptyLine)
{
    CapturedStdout([] { FILE_LOG(logINFO) << "two\n"; });
    const std::string text = Output2FILE::Drain();
    EXPECT_EQ(text.substr(text.size() - 5), "two\n\n");
}

TEST_F(LogTest, DrainTakesEachLineOnce)
{
    CapturedStdout([] {
        FILE_LOG(logINFO) << "first";
        FILE_LOG(logINFO) << "second";
    });
    const std::string text = Output2FILE::Drain();
    EXPECT_NE(text.find("first\n"), std::string::npos);
    EXPECT_NE(text.find("second\n"), std::string::npos);
    EXPECT_EQ(Output2FILE::Drain(), "");
    EXPECT_TRUE(Output2FILE::IsGood());
}

TEST_F(LogTest, NothingIsEvaluatedOrWrittenWhileTheStreamHasFailed)
{
    bool evaluated = false;
    auto message = [&] {
        evaluated = true;
        return "never";
    };
    Output2FILE::Stream().setstate(std::ios::failbit);
    const std::string printed = CapturedStdout([&] { FILE_LOG(logERROR) << message(); });
    Output2FILE::Stream().clear();
    EXPECT_FALSE(evaluated);
    EXPECT_EQ(printed, "");
    EXPECT_EQ(Output2FILE::Drain(), "");
}

TEST_F(LogTest, LevelsAboveTheReportingLevelAreNotEvaluated)
{
    bool evaluated = false;
    auto message = [&] {
        evaluated = true;
        return "hidden";
    };
    FILELog::ReportingLevel() = logINFO;
    const std::string printed = CapturedStdout([&] { FILE_LOG(logDEBUG) << message(); });
    FILELog::ReportingLevel() = logDEBUG4;
    EXPECT_FALSE(evaluated);
    EXPECT_EQ(printed, "");
}

TEST_F(LogTest, StatementNestsInAnUnbracedIf)
{
    for (const bool first : {true, false}) {
        CapturedStdout([&] {
            if (first)
                FILE_LOG(logINFO) << "branch one";
            else
                FILE_LOG(logINFO) << "branch two";
        });
        const std::string text = Output2FILE::Drain();
        EXPECT_EQ(Split(text, '\n').size(), 1u) << text;
        EXPECT_NE(text.find(first ? "branch one" : "branch two"), std::string::npos) << text;
    }
}

TEST_F(LogTest, NumbersUseTheClassicLocale)
{
    {
        const ScopedCommaLocale comma_locale;
        CapturedStdout([] { FILE_LOG(logINFO) << 1234.5 << " " << 1234567; });
    }
    const std::string text = Output2FILE::Drain();
    EXPECT_NE(text.find(" 1234.5 1234567\n"), std::string::npos) << text;
}

TEST_F(LogTest, UndrainedStreamKeepsOnlyItsNewestLines)
{
    const std::string padding(100, 'p');
    const int lines = 120000;  // about 16 MiB of log
    CapturedStdout([&] {
        for (int i = 0; i < lines; ++i) {
            FILE_LOG(logINFO) << "line " << i << " " << padding;
            if (i % 10000 == 0) {
                ASSERT_LE(Output2FILE::Stream().str().size(), 2 * Output2FILE::kMaxKeptBytes);
            }
        }
    });
    const std::string text = Output2FILE::Drain();
    EXPECT_LE(text.size(), Output2FILE::kMaxKeptBytes);
    EXPECT_GT(text.size(), Output2FILE::kMaxKeptBytes - 200);
    EXPECT_EQ(text.front(), '[');
    const std::string last = "line " + std::to_string(lines - 1) + " " + padding + "\n";
    EXPECT_EQ(text.substr(text.size() - last.size()), last);
}

TEST_F(LogTest, ConcurrentLinesNeverInterleave)
{
    const int threads = 8;
    const int per_thread = 2000;
    const std::string printed = CapturedStdout([&] {
        std::vector<std::thread> loggers;
        for (int t = 0; t < threads; ++t)
            loggers.emplace_back([t] {
                for (int i = 0; i < per_thread; ++i)
                    FILE_LOG(logDEBUG1) << "thread " << t << " line " << i << " end";
            });
        for (std::thread& logger : loggers)
            logger.join();
    });
    const std::string drained = Output2FILE::Drain();
    const std::regex line(
        R"(\[\d{4}-\d{2}-\d{2}\.\d{2}:\d{2}:\d{2}\]\[DEBUG1\]  thread (\d+) line (\d+) end)");
    for (const std::string* text : {&printed, &drained}) {
        std::map<int, int> next_line;
        const std::vector<std::string> lines = Split(*text, '\n');
        ASSERT_EQ(lines.size(), static_cast<std::size_t>(threads * per_thread));
        for (const std::string& l : lines) {
            std::smatch match;
            ASSERT_TRUE(std::regex_match(l, match, line)) << l;
            const int thread = std::stoi(match[1]);
            EXPECT_EQ(std::stoi(match[2]), next_line[thread]++) << l;
        }
        for (int t = 0; t < threads; ++t)
            EXPECT_EQ(next_line[t], per_thread);
    }
}

}  // namespace
