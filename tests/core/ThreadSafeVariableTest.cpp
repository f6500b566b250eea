#include "core/ThreadSafeVariable.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

TEST(ThreadSafeVariableTest, GetSetAndComparison)
{
    ThreadSafeVariable<int> value{7};
    EXPECT_EQ(value.Get(), 7);
    EXPECT_TRUE(value == 7);
    value.Set(-3);
    EXPECT_EQ(value.Get(), -3);
    EXPECT_FALSE(value == 7);
}

TEST(ThreadSafeVariableTest, PostfixStepsReturnTheOldValue)
{
    ThreadSafeVariable<long long> count{10};
    EXPECT_EQ(count++, 10);
    EXPECT_EQ(count.Get(), 11);
    EXPECT_EQ(count--, 11);
    EXPECT_EQ(count--, 10);
    EXPECT_EQ(count.Get(), 9);
}

TEST(ThreadSafeVariableTest, AssignmentCopiesTheOtherValue)
{
    ThreadSafeVariable<std::string> target{std::string("old")};
    ThreadSafeVariable<std::string> source{std::string("new")};
    target = source;
    EXPECT_EQ(target.Get(), "new");
    EXPECT_EQ(source.Get(), "new");
}

// Self-assignment used to take the same non-recursive mutex twice.
TEST(ThreadSafeVariableTest, SelfAssignmentDoesNotDeadlock)
{
    auto* variable = new ThreadSafeVariable<long long>(42);
    std::atomic<bool> done{false};
    std::thread assigner([variable, &done] {
        ThreadSafeVariable<long long>& same = *variable;
        *variable = same;
        done = true;
    });
    if (!testsupport::WaitFor([&] { return done.load(); }, std::chrono::seconds(10))) {
        ADD_FAILURE() << "self-assignment deadlocked";
        std::_Exit(1);
    }
    assigner.join();
    EXPECT_EQ(variable->Get(), 42);
    delete variable;
}

TEST(ThreadSafeVariableTest, ManyThreadsIncrementingLoseNothing)
{
    ThreadSafeVariable<int> counter{0};
    ThreadSafeVariable<long long> down{0};
    const int threads = 8;
    const int steps = 20000;
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&] {
            for (int i = 0; i < steps; ++i) {
                counter++;
                down--;
            }
        });
    }
    for (std::thread& worker : workers)
        worker.join();
    EXPECT_EQ(counter.Get(), threads * steps);
    EXPECT_EQ(down.Get(), -static_cast<long long>(threads) * steps);
}

TEST(ThreadSafeVariableTest, TextAccess)
{
    ThreadSafeVariable<double> rate{3.14159};
    EXPECT_EQ(rate.ToString(-1), "3.14159");
    EXPECT_EQ(rate.ToString(2), "3.14");
    rate.SetFromString("0.25");
    EXPECT_EQ(rate.Get(), 0.25);
    EXPECT_THROW(rate.SetFromString("fast"), boost::bad_lexical_cast);
    EXPECT_EQ(rate.Get(), 0.25);
    // The lock is released after a failed parse.
    rate.Set(1.0);
    EXPECT_EQ(rate.Get(), 1.0);
}

TEST(ThreadSafeVariableTest, DestructorFiresTheDestroyedSignalWhenPresent)
{
    int fired = 0;
    {
        ThreadSafeVariable<int> value{1};
        value.destroyed_signal.reset(new boost::signals2::signal<void()>);
        value.destroyed_signal->connect([&fired] { ++fired; });
    }
    EXPECT_EQ(fired, 1);
}

// A value whose copy blocks, once armed, until released, so a Get can be held inside the lock.
struct Gate {
    std::mutex mutex;
    std::condition_variable changed;
    bool armed = false;
    bool copying = false;
    bool release = false;
    const void* stored = nullptr;  // the value being copied, i.e. the variable's own
    std::vector<std::string> events;
};

struct BlockingValue {
    Gate* gate = nullptr;

    BlockingValue() = default;
    explicit BlockingValue(Gate* g) : gate(g) {}
    BlockingValue(const BlockingValue& other) : gate(other.gate)
    {
        if (!gate)
            return;
        std::unique_lock<std::mutex> lock(gate->mutex);
        if (!gate->armed)
            return;
        gate->armed = false;
        gate->stored = &other;
        gate->copying = true;
        gate->changed.notify_all();
        gate->changed.wait(lock, [this] { return gate->release; });
        gate->events.push_back("copied");
    }
    BlockingValue& operator=(const BlockingValue&) = default;
    ~BlockingValue()
    {
        if (!gate)
            return;
        std::lock_guard<std::mutex> lock(gate->mutex);
        if (this == gate->stored)
            gate->events.push_back("destroyed");
    }
};

TEST(ThreadSafeVariableTest, DestructionWaitsForAThreadInsideGet)
{
    Gate gate;
    auto* variable = new ThreadSafeVariable<BlockingValue>(BlockingValue(&gate));
    std::atomic<bool> destroying{false};
    variable->destroyed_signal.reset(new boost::signals2::signal<void()>);
    variable->destroyed_signal->connect([&destroying] { destroying = true; });
    gate.armed = true;

    std::thread reader([variable] { variable->Get(); });
    {
        std::unique_lock<std::mutex> lock(gate.mutex);
        ASSERT_TRUE(gate.changed.wait_for(lock, std::chrono::seconds(20), [&] { return gate.copying; }));
    }
    std::thread destroyer([variable] { delete variable; });
    ASSERT_TRUE(testsupport::WaitFor([&] { return destroying.load(); }));
    {
        std::lock_guard<std::mutex> lock(gate.mutex);
        gate.release = true;
    }
    gate.changed.notify_all();
    reader.join();
    destroyer.join();
    ASSERT_EQ(gate.events.size(), 2u);
    EXPECT_EQ(gate.events[0], "copied");
    EXPECT_EQ(gate.events[1], "destroyed");
}

}  // namespace
