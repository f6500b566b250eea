// Collects the in-memory log of the process from the moment it is made, for tests that
// check log lines (possibly written by other threads).
#pragma once

#include "core/Output2FILE.h"

#include <sstream>
#include <string>
#include <vector>

class LogCapture {
public:
    LogCapture() { Output2FILE::Drain(); }

    // Everything logged since construction.
    const std::string& Text()
    {
        text_ += Output2FILE::Drain();
        return text_;
    }

    bool Contains(const std::string& part) { return Text().find(part) != std::string::npos; }

    // How many lines (level header included) contain the text.
    int LinesWith(const std::string& part)
    {
        int count = 0;
        std::istringstream lines(Text());
        for (std::string line; std::getline(lines, line);)
            count += line.find(part) != std::string::npos ? 1 : 0;
        return count;
    }

    // The message of each line (the text after the level header), in order.
    std::vector<std::string> Messages()
    {
        std::vector<std::string> messages;
        std::istringstream lines(Text());
        std::string line;
        while (std::getline(lines, line))
            messages.push_back(MessageOf(line));
        return messages;
    }

private:
    // After the "[time][LEVEL]" header and the spaces that pad it.
    static std::string MessageOf(const std::string& line)
    {
        const std::size_t level_end = line.find(']', line.find(']') + 1);
        if (level_end == std::string::npos)
            return line;
        const std::size_t start = line.find_first_not_of(' ', level_end + 1);
        return start == std::string::npos ? std::string() : line.substr(start);
    }

    std::string text_;
};
