#include "control/CommandLineBuffer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Each line as its text, a dropped line as "<too long>".
std::vector<std::string> Feed(CommandLineBuffer& buffer, const QByteArray& data)
{
    std::vector<std::string> out;
    for (const CommandLineBuffer::Line& line : buffer.Append(data))
        out.push_back(line.too_long ? "<too long>" : line.text.toStdString());
    return out;
}

using Lines = std::vector<std::string>;

TEST(CommandLineBufferTest, CutsWritesIntoLines)
{
    struct Case {
        std::vector<QByteArray> writes;
        Lines lines;
    };
    const Case cases[] = {
        {{"help\n"}, {"help"}},     {{"help\r\n"}, {"help"}},
        {{"a\nb\n"}, {"a", "b"}},   {{"a\nb"}, {"a"}},
        {{"he", "lp\n"}, {"help"}}, {{"help\r", "\n"}, {"help"}},
        {{"\n\n"}, {"", ""}},       {{"a\rb\n"}, {"a\rb"}},
        {{"a\r\r\n"}, {"a\r"}},     {{"x", "", "y\nz", "\n"}, {"xy", "z"}},
    };
    for (const Case& c : cases) {
        CommandLineBuffer buffer;
        Lines lines;
        for (const QByteArray& write : c.writes)
            for (const std::string& line : Feed(buffer, write))
                lines.push_back(line);
        EXPECT_EQ(lines, c.lines);
    }
}

TEST(CommandLineBufferTest, LineAtTheLimitIsKept)
{
    CommandLineBuffer buffer;
    const QByteArray line(CommandLineBuffer::kMaxLineBytes, 'a');
    const std::vector<CommandLineBuffer::Line> lines = buffer.Append(line + "\r\n");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_FALSE(lines[0].too_long);
    EXPECT_EQ(lines[0].text, line);
}

TEST(CommandLineBufferTest, OverLongLineIsDroppedOnceAndItsRestSkipped)
{
    CommandLineBuffer buffer;
    const QByteArray chunk(CommandLineBuffer::kMaxLineBytes / 4, 'a');
    Lines lines;
    // Before, during and after the long line, in small writes as a socket delivers them.
    for (const std::string& l : Feed(buffer, "before\n" + chunk))
        lines.push_back(l);
    for (int i = 0; i < 20; ++i)
        for (const std::string& l : Feed(buffer, chunk))
            lines.push_back(l);
    for (const std::string& l : Feed(buffer, chunk + "\nafter\n"))
        lines.push_back(l);
    EXPECT_EQ(lines, (Lines{"before", "<too long>", "after"}));
}

TEST(CommandLineBufferTest, OverLongCompleteLineInOneWrite)
{
    CommandLineBuffer buffer;
    const QByteArray data = "a\n" + QByteArray(CommandLineBuffer::kMaxLineBytes + 1, 'x') + "\nb\n";
    EXPECT_EQ(Feed(buffer, data), (Lines{"a", "<too long>", "b"}));
}

}  // namespace
