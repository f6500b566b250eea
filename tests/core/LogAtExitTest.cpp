#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <thread>

#include "core/FILELog.h"
#include "support/TestSupport.h"

namespace {

// Made before the logger's first use, so it is destroyed after any static object the
// logger made; its destructor logs and checks that the line arrived.
struct LogsWhenDestroyed {
    ~LogsWhenDestroyed()
    {
        FILE_LOG(logINFO) << "logged during exit";
        if (Output2FILE::Drain().find("logged during exit\n") == std::string::npos)
            std::_Exit(3);
    }
};

LogsWhenDestroyed logs_when_destroyed;

TEST(LogAtExit, ThreadsMayLogWhileTheProcessExits)
{
    static std::atomic<int> lines{0};
    std::thread([] {
        for (;;) {
            FILE_LOG(logDEBUG) << "still running";
            ++lines;
        }
    }).detach();
    EXPECT_TRUE(testsupport::WaitFor([] { return lines.load() > 100; }));
}

}  // namespace
