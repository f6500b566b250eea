#pragma once
// The captured buffers of std::cerr, std::cout and std::clog. They are made once and
// live to the end of the process, so a thread that prints during shutdown never writes
// into a freed buffer. While at least one log view holds the capture they collect text;
// when the last one lets go they forward to the streams' original buffers. GUI thread
// only; the buffers themselves take writes from any thread.

#include "ui/panels/LockedStreamBuffer.h"

#include <array>
#include <ostream>
#include <string>

class StandardStreamCapture {
public:
    // The standard streams in the order the log view shows them.
    static constexpr std::size_t kStreamCount = 3;

    static StandardStreamCapture& Instance();

    // Installs the buffers where they are not yet installed and starts collecting.
    void Hold();
    // The last holder gone, the buffers forward to the originals again.
    void Release();
    // The collected text of stream i (0 std::cerr, 1 std::cout, 2 std::clog).
    std::string Take(std::size_t stream);

private:
    StandardStreamCapture() = default;
    static std::array<std::ostream*, kStreamCount> Streams();

    std::array<LockedStreamBuffer, kStreamCount> buffers_;
    std::array<std::streambuf*, kStreamCount> originals_{};
    int holders_ = 0;
};
