#include "core/WorkerPool.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <boost/thread/thread.hpp>
#include <gtest/gtest.h>

#include "core/CustomException.h"
#include "core/FILELog.h"
#include "ThreadSleepProbe.h"
#include "support/LogCapture.h"
#include "support/TestSupport.h"

namespace {

// A count the test waits on without polling. Tests declare it before the
// pool whose tasks use it, so the pool is joined first.
class Counter {
public:
    // Notifies under the lock: a waiter that sees the value may destroy the
    // counter at once.
    void Add()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ++value_;
        changed_.notify_all();
    }
    // Waits until the value reaches target; the deadline only guards a hang.
    bool WaitFor(int target)
    {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(20), [&] { return value_ >= target; });
    }
    int Value()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return value_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int value_ = 0;
};

TEST(WorkerPool, GlobalPoolHasFourWorkers)
{
    EXPECT_EQ(GlobalWorkerPool().WorkerCount(), 4);
    EXPECT_EQ(&GlobalWorkerPool(), &GlobalWorkerPool());
}

TEST(WorkerPool, GlobalPoolRunsEveryTaskExactlyOnce)
{
    const int kTasks = 100000;
    std::vector<std::atomic<int>> runs(kTasks);
    Counter done;
    for (int i = 0; i < kTasks; ++i)
        GlobalWorkerPool().Post([&runs, &done, i] {
            ++runs[i];
            done.Add();
        });
    ASSERT_TRUE(done.WaitFor(kTasks));
    int exactly_once = 0;
    for (auto& count : runs)
        exactly_once += count == 1 ? 1 : 0;
    EXPECT_EQ(exactly_once, kTasks);
}

// Each task waits for all four to be running: only a pool whose post wakes
// every idle worker gets them all going at once.
TEST(WorkerPool, PostWakesEveryIdleWorker)
{
    std::mutex mutex;
    std::condition_variable all_in;
    int running = 0;
    Counter met;
    WorkerPool pool(4);
    for (int i = 0; i < 4; ++i)
        pool.Post([&] {
            std::unique_lock<std::mutex> lock(mutex);
            ++running;
            all_in.notify_all();
            if (all_in.wait_for(lock, std::chrono::seconds(20), [&] { return running == 4; }))
                met.Add();
        });
    ASSERT_TRUE(met.WaitFor(4));
}

// A post that lost its wake-up would leave its task waiting for the next one.
TEST(WorkerPool, NoPostLosesItsWakeUp)
{
    for (int workers : {1, 4}) {
        SCOPED_TRACE(workers);
        Counter done;
        WorkerPool pool(workers);
        for (int i = 1; i <= 20000; ++i) {
            pool.Post([&done] { done.Add(); });
            ASSERT_TRUE(done.WaitFor(i)) << "task " << i << " never ran";
        }
    }
}

TEST(WorkerPool, OneWorkerRunsTasksInPostingOrder)
{
    std::mutex mutex;
    std::vector<int> order;
    Counter done;
    WorkerPool pool(1);
    for (int i = 0; i < 1000; ++i)
        pool.Post([&, i] {
            {
                std::lock_guard<std::mutex> lock(mutex);
                order.push_back(i);
            }
            done.Add();
        });
    ASSERT_TRUE(done.WaitFor(1000));
    std::lock_guard<std::mutex> lock(mutex);
    ASSERT_EQ(order.size(), 1000u);
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(order[i], i);
}

struct Failure {
    const char* name;
    std::function<void()> task;
};

class WorkerPoolFailures : public ::testing::TestWithParam<Failure> {};

TEST_P(WorkerPoolFailures, FailingTaskIsLoggedAndNextTaskRuns)
{
    const int old_level = FILELog::ReportingLevel();
    FILELog::ReportingLevel() = logDEBUG;
    LogCapture capture;
    Counter next_ran;
    WorkerPool pool(1);
    pool.Post(GetParam().task);
    pool.Post([&] { next_ran.Add(); });
    const bool ran = next_ran.WaitFor(1);
    FILELog::ReportingLevel() = old_level;
    ASSERT_TRUE(ran);
    EXPECT_NE(capture.Text().find("Exception running function in thread container"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Cases, WorkerPoolFailures,
                         ::testing::Values(Failure{"StdException", [] { throw std::runtime_error("boom"); }},
                                           Failure{"CustomException", [] { throw CustomException("boom"); }},
                                           Failure{"PlainInteger", [] { throw 0; }},
                                           Failure{"EmptyTask", std::function<void()>()}),
                         [](const ::testing::TestParamInfo<Failure>& info) { return info.param.name; });

TEST(WorkerPool, FailureIsNotLoggedBelowDebugLevel)
{
    const int old_level = FILELog::ReportingLevel();
    FILELog::ReportingLevel() = logINFO;
    LogCapture capture;
    {
        Counter next_ran;
        WorkerPool pool(1);
        pool.Post([] { throw std::runtime_error("boom"); });
        pool.Post([&] { next_ran.Add(); });
        EXPECT_TRUE(next_ran.WaitFor(1));
    }
    FILELog::ReportingLevel() = old_level;
    EXPECT_EQ(capture.Text().find("Exception running function in thread container"), std::string::npos);
}

TEST(WorkerPool, PoolWithoutWorkersDropsItsTasksUnrun)
{
    for (int count : {0, -3}) {
        SCOPED_TRACE(count);
        auto token = std::make_shared<int>(0);
        std::weak_ptr<int> watch = token;
        std::atomic<int> runs{0};
        {
            WorkerPool pool(count);
            EXPECT_EQ(pool.WorkerCount(), 0);
            pool.Post([token, &runs] { ++runs; });
            token.reset();
            EXPECT_FALSE(watch.expired());
        }
        EXPECT_TRUE(watch.expired());
        EXPECT_EQ(runs, 0);
    }
}

// Destroying the pool interrupts a task that waits, joins its worker and
// drops what is still queued.
TEST(WorkerPool, DestructionInterruptsWaitingTaskAndDropsQueuedOnes)
{
    std::atomic<bool> started{false};
    std::atomic<bool> interrupted{false};
    std::atomic<int> later_runs{0};
    {
        WorkerPool pool(1);
        pool.Post([&] {
            started = true;
            try {
                boost::this_thread::sleep_for(boost::chrono::hours(1));
            } catch (const boost::thread_interrupted&) {
                interrupted = true;
                throw;
            }
        });
        for (int i = 0; i < 10; ++i)
            pool.Post([&] { ++later_runs; });
        ASSERT_TRUE(testsupport::WaitFor([&] { return started.load(); }));
    }
    EXPECT_TRUE(interrupted);
    EXPECT_EQ(later_runs, 0);
}

TEST(WorkerPool, StoppedPoolDropsLaterPosts)
{
    std::atomic<int> runs{0};
    WorkerPool pool(2);
    pool.Stop();
    pool.Post([&] { ++runs; });
    pool.Stop();
    EXPECT_EQ(runs, 0);
}

TEST(WorkerPool, DestructionLetsRunningTaskFinish)
{
    std::atomic<bool> started{false};
    std::atomic<bool> release{false};
    std::atomic<bool> finished{false};
    auto pool = std::make_unique<WorkerPool>(2);
    pool->Post([&] {
        started = true;
        while (!release)
            std::this_thread::yield();
        finished = true;
    });
    ASSERT_TRUE(testsupport::WaitFor([&] { return started.load(); }));
    std::atomic<pid_t> destroyer_tid{0};
    std::thread destroyer([&] {
        destroyer_tid = CurrentThreadId();
        pool.reset();
    });
    // Asleep means joining the spinning worker.
    ASSERT_TRUE(testsupport::WaitFor([&] {
        const pid_t tid = destroyer_tid;
        return tid != 0 && IsAsleep(tid);
    }));
    EXPECT_FALSE(finished);
    release = true;
    destroyer.join();
    EXPECT_TRUE(finished);
}

}  // namespace
