#include "core/FrameQueue.h"

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <boost/make_shared.hpp>
#include <boost/thread/thread.hpp>
#include <gtest/gtest.h>

#include "core/CustomException.h"
#include "ThreadSleepProbe.h"
#include "support/TestSupport.h"

namespace {

using Item = PassableItem<std::string>;
using Queue = FrameQueue<std::string>;

Item MakeItem(const std::string& text)
{
    return Item(boost::make_shared<std::string>(text));
}

// A thread that runs one queue call and records how it ended.
class QueueCaller {
public:
    enum class Outcome { Running, Returned, ThrewZero, Interrupted, Other };

    template <typename Call>
    explicit QueueCaller(Call call)
        : thread_([this, call]() {
              tid_ = CurrentThreadId();
              try {
                  call();
                  outcome_ = Outcome::Returned;
              } catch (int code) {
                  outcome_ = code == 0 ? Outcome::ThrewZero : Outcome::Other;
              } catch (const boost::thread_interrupted&) {
                  outcome_ = Outcome::Interrupted;
              } catch (...) {
                  outcome_ = Outcome::Other;
              }
          })
    {
    }
    ~QueueCaller()
    {
        if (thread_.joinable())
            thread_.join();
    }

    bool WaitUntilBlocked()
    {
        return testsupport::WaitFor([this] {
            const pid_t tid = tid_;
            return tid != 0 && outcome_ == Outcome::Running && IsAsleep(tid);
        });
    }
    bool WaitUntilDone()
    {
        return testsupport::WaitFor([this] { return outcome_ != Outcome::Running; });
    }
    Outcome outcome() const { return outcome_; }
    void Interrupt() { thread_.interrupt(); }
    void Join() { thread_.join(); }

private:
    std::atomic<pid_t> tid_{0};
    std::atomic<Outcome> outcome_{Outcome::Running};
    boost::thread thread_;
};

// One call on a queue that must not block, and what it must leave behind.
struct Step {
    enum Kind { Push, Pop, Clear, Shutdown, PushThrowsZero, PopThrowsZero } kind;
    std::string value;  // pushed, or expected from a pop
    int count_after;
};

struct Case {
    const char* name;
    int capacity;
    bool drop_when_full;
    std::vector<Step> steps;
    int pushed_signals;
};

class FrameQueueTable : public ::testing::TestWithParam<Case> {};

TEST_P(FrameQueueTable, LeavesExpectedContents)
{
    const Case& c = GetParam();
    Queue queue(c.capacity);
    queue.SetDropWhenFull(c.drop_when_full);
    int signals = 0;
    queue.PushedSignal().connect([&signals] { ++signals; });

    for (size_t i = 0; i < c.steps.size(); ++i) {
        const Step& step = c.steps[i];
        SCOPED_TRACE("step " + std::to_string(i));
        switch (step.kind) {
        case Step::Push:
            queue.Push(MakeItem(step.value));
            break;
        case Step::Pop: {
            Item item = queue.Pop();
            ASSERT_TRUE(item.IsValid());
            EXPECT_EQ(*item.data, step.value);
            break;
        }
        case Step::Clear:
            queue.Clear();
            break;
        case Step::Shutdown:
            queue.Shutdown();
            EXPECT_TRUE(queue.IsShutDown());
            break;
        case Step::PushThrowsZero:
            EXPECT_THROW(
                try { queue.Push(MakeItem(step.value)); } catch (int code) {
                    EXPECT_EQ(code, 0);
                    throw;
                },
                int);
            break;
        case Step::PopThrowsZero:
            EXPECT_THROW(
                try { queue.Pop(); } catch (int code) {
                    EXPECT_EQ(code, 0);
                    throw;
                },
                int);
            break;
        }
        EXPECT_EQ(queue.Count(), step.count_after);
    }
    EXPECT_EQ(signals, c.pushed_signals);
}

INSTANTIATE_TEST_SUITE_P(Cases, FrameQueueTable,
                         ::testing::Values(Case{"OldestFirst",
                                                3,
                                                false,
                                                {{Step::Push, "a", 1},
                                                 {Step::Push, "b", 2},
                                                 {Step::Push, "c", 3},
                                                 {Step::Pop, "a", 2},
                                                 {Step::Pop, "b", 1},
                                                 {Step::Pop, "c", 0}},
                                                3},
                                           Case{"DropWhenFullDiscardsNewItem",
                                                1,
                                                true,
                                                {{Step::Push, "a", 1},
                                                 {Step::Push, "b", 1},
                                                 {Step::Pop, "a", 0},
                                                 {Step::Push, "c", 1},
                                                 {Step::Pop, "c", 0}},
                                                2},
                                           Case{"DropWhenFullKeepsCapacityItems",
                                                2,
                                                true,
                                                {{Step::Push, "a", 1},
                                                 {Step::Push, "b", 2},
                                                 {Step::Push, "c", 2},
                                                 {Step::Pop, "a", 1},
                                                 {Step::Pop, "b", 0}},
                                                2},
                                           Case{"ClearKeepsQueueInService",
                                                1,
                                                false,
                                                {{Step::Push, "a", 1},
                                                 {Step::Clear, "", 0},
                                                 {Step::Clear, "", 0},
                                                 {Step::Push, "b", 1},
                                                 {Step::Pop, "b", 0}},
                                                2},
                                           Case{"ShutdownEmptiesAndRefusesEverything",
                                                2,
                                                false,
                                                {{Step::Push, "a", 1},
                                                 {Step::Push, "b", 2},
                                                 {Step::Shutdown, "", 0},
                                                 {Step::PushThrowsZero, "c", 0},
                                                 {Step::PopThrowsZero, "", 0},
                                                 {Step::Clear, "", 0},
                                                 {Step::PushThrowsZero, "d", 0}},
                                                2},
                                           Case{"ShutdownOfEmptyQueue",
                                                1,
                                                true,
                                                {{Step::Shutdown, "", 0},
                                                 {Step::PushThrowsZero, "a", 0},
                                                 {Step::PopThrowsZero, "", 0}},
                                                0}),
                         [](const ::testing::TestParamInfo<Case>& info) { return info.param.name; });

TEST(FrameQueue, RefusesCapacityBelowOne)
{
    for (int capacity : {0, -1}) {
        SCOPED_TRACE(capacity);
        EXPECT_THROW(Queue queue(capacity), CustomException);
    }
}

TEST(FrameQueue, CopiesSharePayloadWithPushedItem)
{
    Queue queue(1);
    Item item = MakeItem("before");
    queue.Push(item);
    *item.data = "after";
    EXPECT_EQ(*queue.Pop().data, "after");
}

TEST(FrameQueue, EachPopLetsExactlyOneBlockedPushThrough)
{
    Queue queue(1);
    queue.Push(MakeItem("first"));
    std::atomic<int> pushed{0};
    QueueCaller a([&] {
        queue.Push(MakeItem("a"));
        ++pushed;
    });
    QueueCaller b([&] {
        queue.Push(MakeItem("b"));
        ++pushed;
    });
    ASSERT_TRUE(a.WaitUntilBlocked());
    ASSERT_TRUE(b.WaitUntilBlocked());
    EXPECT_EQ(pushed, 0);
    EXPECT_EQ(queue.Count(), 1);

    EXPECT_EQ(*queue.Pop().data, "first");
    ASSERT_TRUE(testsupport::WaitFor([&] { return pushed == 1; }));
    QueueCaller& still_waiting = a.outcome() == QueueCaller::Outcome::Running ? a : b;
    ASSERT_TRUE(still_waiting.WaitUntilBlocked());
    EXPECT_EQ(pushed, 1);
    EXPECT_EQ(queue.Count(), 1);

    const std::string second = *queue.Pop().data;
    ASSERT_TRUE(testsupport::WaitFor([&] { return pushed == 2; }));
    const std::string third = *queue.Pop().data;
    EXPECT_NE(second, third);
    EXPECT_TRUE((second == "a" && third == "b") || (second == "b" && third == "a"));
    EXPECT_EQ(queue.Count(), 0);
}

TEST(FrameQueue, PopOnEmptyQueueWaitsForPush)
{
    Queue queue(1);
    std::string popped;
    QueueCaller popper([&] { popped = *queue.Pop().data; });
    ASSERT_TRUE(popper.WaitUntilBlocked());
    queue.Push(MakeItem("x"));
    ASSERT_TRUE(popper.WaitUntilDone());
    EXPECT_EQ(popper.outcome(), QueueCaller::Outcome::Returned);
    popper.Join();
    EXPECT_EQ(popped, "x");
    EXPECT_EQ(queue.Count(), 0);
}

TEST(FrameQueue, ClearOnFullQueueReleasesBlockedPusher)
{
    Queue queue(1);
    queue.Push(MakeItem("old"));
    QueueCaller pusher([&] { queue.Push(MakeItem("new")); });
    ASSERT_TRUE(pusher.WaitUntilBlocked());
    queue.Clear();
    ASSERT_TRUE(pusher.WaitUntilDone());
    EXPECT_EQ(pusher.outcome(), QueueCaller::Outcome::Returned);
    EXPECT_EQ(queue.Count(), 1);
    EXPECT_EQ(*queue.Pop().data, "new");
}

TEST(FrameQueue, ClearLeavesBlockedPopperWaiting)
{
    Queue queue(1);
    QueueCaller popper([&] { queue.Pop(); });
    ASSERT_TRUE(popper.WaitUntilBlocked());
    queue.Clear();
    ASSERT_TRUE(popper.WaitUntilBlocked());
    queue.Push(MakeItem("x"));
    ASSERT_TRUE(popper.WaitUntilDone());
    EXPECT_EQ(popper.outcome(), QueueCaller::Outcome::Returned);
}

// A full queue with a pusher blocked on it, and an empty one with a popper blocked on it.
class FrameQueueBlockedCallers : public ::testing::Test {
protected:
    void SetUp() override
    {
        full.Push(MakeItem("held"));
        pusher = std::make_unique<QueueCaller>([this] { full.Push(MakeItem("x")); });
        popper = std::make_unique<QueueCaller>([this] { empty.Pop(); });
        ASSERT_TRUE(pusher->WaitUntilBlocked());
        ASSERT_TRUE(popper->WaitUntilBlocked());
    }

    void ExpectBothEnded(QueueCaller::Outcome outcome)
    {
        ASSERT_TRUE(pusher->WaitUntilDone());
        ASSERT_TRUE(popper->WaitUntilDone());
        EXPECT_EQ(pusher->outcome(), outcome);
        EXPECT_EQ(popper->outcome(), outcome);
    }

    Queue full{1};
    Queue empty{1};
    std::unique_ptr<QueueCaller> pusher;
    std::unique_ptr<QueueCaller> popper;
};

TEST_F(FrameQueueBlockedCallers, ShutdownWakesEveryWaiterWithZero)
{
    full.Shutdown();
    empty.Shutdown();
    ExpectBothEnded(QueueCaller::Outcome::ThrewZero);
    EXPECT_EQ(full.Count(), 0);
}

TEST_F(FrameQueueBlockedCallers, InterruptedWaitLeavesQueueUnchanged)
{
    pusher->Interrupt();
    popper->Interrupt();
    ExpectBothEnded(QueueCaller::Outcome::Interrupted);

    EXPECT_EQ(full.Count(), 1);
    EXPECT_EQ(*full.Pop().data, "held");
    EXPECT_EQ(empty.Count(), 0);
    empty.Push(MakeItem("y"));
    EXPECT_EQ(*empty.Pop().data, "y");
}

// Woken waiters relock the queue's mutex after the shutdown; the destructor
// must not free it under them (the sanitizer run sees any such use).
TEST(FrameQueue, DestructorWaitsForWokenThreadsToLeave)
{
    Queue* full = new Queue(1);
    full->Push(MakeItem("held"));
    Queue* empty = new Queue(1);
    std::vector<std::unique_ptr<QueueCaller>> callers;
    for (int i = 0; i < 4; ++i) {
        callers.push_back(std::make_unique<QueueCaller>([full] { full->Push(MakeItem("x")); }));
        callers.push_back(std::make_unique<QueueCaller>([empty] { empty->Pop(); }));
    }
    for (auto& caller : callers)
        ASSERT_TRUE(caller->WaitUntilBlocked());
    delete full;
    delete empty;
    for (auto& caller : callers) {
        caller->Join();
        EXPECT_EQ(caller->outcome(), QueueCaller::Outcome::ThrewZero);
    }
}

TEST(FrameQueue, ProducerAndConsumerKeepOrderAndBound)
{
    const int kItems = 20000;
    Queue queue(1);
    std::atomic<int> max_count{0};
    queue.PushedSignal().connect([&] {
        const int count = queue.Count();
        if (count > max_count)
            max_count = count;
    });
    std::thread producer([&] {
        for (int i = 0; i < kItems; ++i)
            queue.Push(MakeItem(std::to_string(i)));
    });
    int in_order = 0;
    for (int i = 0; i < kItems; ++i) {
        if (*queue.Pop().data == std::to_string(i))
            ++in_order;
    }
    producer.join();
    EXPECT_EQ(in_order, kItems);
    EXPECT_EQ(max_count, 1);
    EXPECT_EQ(queue.Count(), 0);
}

}  // namespace
