// A FIFO in a test folder and a bounded run of code that might block opening it: should
// the code still run after the deadline, the FIFO is opened from the other side (a writer
// for a stuck reader, a reader drained for a stuck writer) so the code comes free and the
// test fails instead of hanging. Also a swapper that keeps putting a FIFO and a file in
// turn at one path, for code that must not be caught between checking a path and using it.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>

#include "support/TestSupport.h"

namespace fifofixture {

inline bool MakeFifo(const std::string& path)
{
    return mkfifo(path.c_str(), 0600) == 0;
}

// Whether the code returned within the deadline without help.
inline bool ReturnsWithoutBlocking(const std::string& fifo, const std::function<void()>& code)
{
    std::atomic<bool> done{false};
    std::thread running([&] {
        code();
        done = true;
    });
    const bool in_time = testsupport::WaitFor([&] { return done.load(); }, std::chrono::seconds(5));
    // Held open until the code has returned, so a stuck writer never meets a closed pipe.
    int reader = -1;
    while (!done) {
        const int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0)
            ::close(writer);
        if (reader < 0)
            reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
        char buffer[4096];
        while (reader >= 0 && ::read(reader, buffer, sizeof buffer) > 0) {
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    running.join();
    if (reader >= 0)
        ::close(reader);
    return in_time;
}

// Renames hard links of a file and of a FIFO over the target, in turn, on its own thread
// until destroyed; the FIFO keeps its own name, so code caught on it can be freed through
// that name. The target's folder holds the swapper's scratch name.
class Swapper {
public:
    Swapper(const std::string& file, const std::string& fifo, const std::string& target)
        : file_(file), fifo_(fifo), target_(target), scratch_(target + ".swap"), thread_([this] { Run(); })
    {
    }

    ~Swapper()
    {
        stop_ = true;
        thread_.join();
        std::remove(scratch_.c_str());
    }

    Swapper(const Swapper&) = delete;
    Swapper& operator=(const Swapper&) = delete;

    long long Swaps() const { return swaps_; }

private:
    void Run()
    {
        for (bool fifo = true; !stop_; fifo = !fifo) {
            const std::string& source = fifo ? fifo_ : file_;
            if (::link(source.c_str(), scratch_.c_str()) == 0 &&
                std::rename(scratch_.c_str(), target_.c_str()) == 0)
                swaps_++;
        }
    }

    const std::string file_;
    const std::string fifo_;
    const std::string target_;
    const std::string scratch_;
    std::atomic<bool> stop_{false};
    std::atomic<long long> swaps_{0};
    std::thread thread_;
};

}  // namespace fifofixture
