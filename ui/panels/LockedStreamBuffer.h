#pragma once
// A stream buffer that any thread may write to: it has no put area, so every write
// reaches overflow or xsputn, which take its mutex. It either collects the text for the
// log view to take, or forwards it to another buffer (the stream's original one) once
// no view is left.

#include <mutex>
#include <streambuf>
#include <string>

class LockedStreamBuffer : public std::streambuf {
public:
    LockedStreamBuffer() = default;

    // Collect from now on; the text goes to the forward buffer no more.
    void Collect();
    // Send what was collected and everything written from now on to the target, which
    // must outlive this buffer's use.
    void ForwardTo(std::streambuf* target);
    // Everything collected since the last take; a text of exactly one space stays
    // until more follows.
    std::string Take();

protected:
    int_type overflow(int_type character) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int sync() override;

private:
    // Expects mutex_ to be held.
    void Write(const char* text, std::streamsize count);

    std::mutex mutex_;  // guards text_ and forward_
    std::string text_;
    std::streambuf* forward_ = nullptr;
};
