// Cuts the byte stream of one TCP client into command lines. Bytes are kept until their
// line feed arrives; a line that grows past the limit is reported once and its remaining
// bytes are dropped up to the next line feed, so a client cannot make the buffer grow
// without bound. Owned by one client, used on its thread only.
#pragma once

#include <QByteArray>

#include <vector>

class CommandLineBuffer {
public:
    static constexpr int kMaxLineBytes = 64 * 1024;

    struct Line {
        // The line without its line feed and a carriage return before it; empty when too long.
        QByteArray text;
        // The line passed the limit and was dropped.
        bool too_long = false;
    };

    // Every line that the new bytes complete (or that passes the limit), in arrival order.
    std::vector<Line> Append(const QByteArray& data);

private:
    void AppendPiece(const char* begin, const char* end, bool ends_line, std::vector<Line>& lines);

    QByteArray pending_;     // the start of a line whose line feed has not arrived yet
    bool dropping_ = false;  // inside an over-long line: discard up to its line feed
};
