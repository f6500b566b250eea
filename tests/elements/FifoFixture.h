// A FIFO in a test folder and a bounded run of code that might block opening it: should
// the code still run after the deadline, a writer opens and closes the FIFO so the
// stuck reader sees its end and the test fails instead of hanging.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
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
    while (!done) {
        const int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0)
            ::close(writer);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    running.join();
    return in_time;
}

}  // namespace fifofixture
