#pragma once
// The logger's output policy: every finished line goes to standard output and to one
// process-wide in-memory stream, which the log view drains. Emitting and draining are
// serialised by one process-wide log mutex. The stream and the mutex are never destroyed,
// so a thread that logs during process exit finds them intact.

#include <cstddef>
#include <sstream>
#include <string>

class Output2FILE {
public:
    // Text kept for the next drain when nothing drains the stream: only the newest lines.
    static constexpr std::size_t kMaxKeptBytes = 4u * 1024u * 1024u;

    // The in-memory stream, created on first use. Write through Output and read through
    // Drain, which hold the log mutex.
    static std::stringstream& Stream();

    // Whether the in-memory stream is free of its fail and bad bits.
    static bool IsGood();

    // Emits one finished line to standard output and to the in-memory stream.
    static void Output(const std::string& line);

    // Takes everything accumulated since the previous drain (at most the newest
    // kMaxKeptBytes, in whole lines) and leaves the stream empty and good.
    static std::string Drain();
};
