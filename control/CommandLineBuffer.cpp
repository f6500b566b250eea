#include "control/CommandLineBuffer.h"

#include <cstring>

std::vector<CommandLineBuffer::Line> CommandLineBuffer::Append(const QByteArray& data)
{
    std::vector<Line> lines;
    const char* position = data.constData();
    const char* const end = position + data.size();
    while (position < end) {
        const void* found = std::memchr(position, '\n', static_cast<std::size_t>(end - position));
        const char* line_end = found ? static_cast<const char*>(found) : end;
        AppendPiece(position, line_end, found != nullptr, lines);
        position = found ? line_end + 1 : end;
    }
    return lines;
}

void CommandLineBuffer::AppendPiece(const char* begin, const char* end, bool ends_line,
                                    std::vector<Line>& lines)
{
    if (!dropping_) {
        pending_.append(begin, static_cast<int>(end - begin));
        // A carriage return before the line feed (or still waiting for it) is no content.
        const int content = pending_.endsWith('\r') ? pending_.size() - 1 : pending_.size();
        if (content > kMaxLineBytes) {
            Line dropped;
            dropped.too_long = true;
            lines.push_back(dropped);
            pending_.clear();
            dropping_ = true;
        } else if (ends_line) {
            Line line;
            line.text = pending_.left(content);
            lines.push_back(line);
            pending_.clear();
        }
    }
    if (ends_line)
        dropping_ = false;
}
