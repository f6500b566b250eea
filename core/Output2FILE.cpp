#include "core/Output2FILE.h"

#include <boost/thread/mutex.hpp>
#include <iostream>

namespace {

// Intentionally leaked: lines logged by threads during process exit must still find it.
boost::mutex& LogMutex()
{
    static boost::mutex* mutex = new boost::mutex;
    return *mutex;
}

// Bytes in the in-memory stream; guarded by the log mutex.
std::size_t& StreamSize()
{
    static std::size_t size = 0;
    return size;
}

// The newest whole lines of the text that fit in limit bytes.
std::string NewestLines(const std::string& text, std::size_t limit)
{
    if (text.size() <= limit)
        return text;
    const std::size_t cut = text.size() - limit;
    if (text[cut - 1] == '\n')
        return text.substr(cut);
    const std::size_t line_end = text.find('\n', cut);
    return line_end == std::string::npos ? std::string() : text.substr(line_end + 1);
}

// Replaces the stream's content; called with the log mutex held.
void ResetStream(std::stringstream& stream, const std::string& text)
{
    stream.str(text);
    stream.clear();
    stream.seekp(0, std::ios::end);
    StreamSize() = text.size();
}

}  // namespace

std::stringstream& Output2FILE::Stream()
{
    // Intentionally leaked, like the mutex; made once for all threads.
    static std::stringstream* stream = [] {
        auto* created = new std::stringstream;
        created->imbue(std::locale::classic());
        return created;
    }();
    return *stream;
}

bool Output2FILE::IsGood()
{
    std::stringstream& stream = Stream();
    boost::mutex::scoped_lock lock(LogMutex());
    return !stream.fail();
}

void Output2FILE::Output(const std::string& line)
{
    std::stringstream& stream = Stream();
    boost::mutex::scoped_lock lock(LogMutex());
    std::cout << line;
    stream << line;
    stream.flush();
    StreamSize() += line.size();
    // Without a drain the stream would grow for ever; trimming only at twice the limit
    // keeps the cost per line constant.
    if (StreamSize() > 2 * kMaxKeptBytes)
        ResetStream(stream, NewestLines(stream.str(), kMaxKeptBytes));
}

std::string Output2FILE::Drain()
{
    std::stringstream& stream = Stream();
    boost::mutex::scoped_lock lock(LogMutex());
    const std::string text = NewestLines(stream.str(), kMaxKeptBytes);
    ResetStream(stream, std::string());
    return text;
}
