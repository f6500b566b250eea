// The process ends while the global pool is busy: the pool must stop before
// what its tasks use goes away. Each case runs in a forked child, so this
// program's own process never makes the global pool before forking.
#include "core/WorkerPool.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>

#include <boost/thread/thread.hpp>
#include <gtest/gtest.h>

#include "core/FILELog.h"
#include "support/TestSupport.h"

namespace {

std::atomic<int> started{0};

void SleepUntilStopped()
{
    ++started;
    FILE_LOG(logINFO) << "waiting worker";
    boost::this_thread::sleep_for(boost::chrono::hours(1));
}

// Keeps its worker until the pool stops, then logs on during the exit.
void LogWhileRunning()
{
    ++started;
    while (!boost::this_thread::interruption_requested())
        FILE_LOG(logINFO) << "logging worker line";
    for (int i = 0; i < 200; ++i)
        FILE_LOG(logINFO) << "logging worker stopping line " << i;
}

void WaitForStarted(int count)
{
    while (started < count)
        std::this_thread::yield();
}

void PostQueuedTasks()
{
    for (int i = 0; i < 100; ++i)
        GlobalWorkerPool().Post([] { FILE_LOG(logINFO) << "queued task ran"; });
}

// Main leaves while every worker is occupied and tasks are still queued.
void MainExitsWhileBusy()
{
    GlobalWorkerPool().Post(SleepUntilStopped);
    GlobalWorkerPool().Post(SleepUntilStopped);
    GlobalWorkerPool().Post(LogWhileRunning);
    GlobalWorkerPool().Post(LogWhileRunning);
    PostQueuedTasks();
    WaitForStarted(4);
    std::exit(0);
}

// A task ends the process: the exit runs on a worker of the pool itself,
// while the main thread goes on posting.
void TaskEndsTheProcess()
{
    GlobalWorkerPool().Post(SleepUntilStopped);
    GlobalWorkerPool().Post(LogWhileRunning);
    GlobalWorkerPool().Post(LogWhileRunning);
    WaitForStarted(3);
    GlobalWorkerPool().Post([] { std::exit(0); });
    for (;;)
        PostQueuedTasks();
}

struct ExitCase {
    const char* name;
    void (*child)();
};

class WorkerPoolExit : public ::testing::TestWithParam<ExitCase> {};

TEST_P(WorkerPoolExit, ProcessEndsCleanlyAndDropsQueuedTasks)
{
    testsupport::TempDir dir;
    const std::string output = dir.File("child.log");
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        const int fd = ::open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (fd < 0 || ::dup2(fd, STDOUT_FILENO) < 0)
            ::_exit(90);
        GetParam().child();
        ::_exit(91);
    }

    int status = 0;
    const bool ended = testsupport::WaitFor([&] { return ::waitpid(child, &status, WNOHANG) == child; });
    if (!ended) {
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
        FAIL() << "the child did not end";
    }
    ASSERT_TRUE(WIFEXITED(status)) << "the child died of signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);

    std::ifstream file(output);
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("logging worker stopping line 199"), std::string::npos);
    EXPECT_EQ(text.find("queued task ran"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Cases, WorkerPoolExit,
                         ::testing::Values(ExitCase{"MainExitsWhileBusy", MainExitsWhileBusy},
                                           ExitCase{"TaskEndsTheProcess", TaskEndsTheProcess}),
                         [](const ::testing::TestParamInfo<ExitCase>& info) { return info.param.name; });

}  // namespace
