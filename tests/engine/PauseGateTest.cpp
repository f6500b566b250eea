#include "engine/PauseGate.h"

#include <atomic>
#include <chrono>
#include <ctime>
#include <memory>
#include <vector>

#include <boost/thread/thread.hpp>
#include <gtest/gtest.h>
#include <pthread.h>

#include "support/TestSupport.h"

using testsupport::WaitFor;

namespace {

// A thread that passes the gate over and over, counting its passes, until told to quit.
class GateRunner {
public:
    explicit GateRunner(PauseGate& gate) : gate_(gate), thread_([this] { Run(); }) {}
    ~GateRunner()
    {
        thread_.interrupt();
        thread_.join();
    }

    int Passes() const { return passes_.load(); }
    bool ThrewZero() const { return threw_zero_.load(); }
    boost::thread& Thread() { return thread_; }

private:
    void Run()
    {
        try {
            for (;;) {
                gate_.Wait();
                ++passes_;
                boost::this_thread::interruption_point();
            }
        } catch (int code) {
            threw_zero_ = code == 0;
        } catch (const boost::thread_interrupted&) {
        }
    }

    PauseGate& gate_;
    std::atomic<int> passes_{0};
    std::atomic<bool> threw_zero_{false};
    boost::thread thread_;
};

}  // namespace

TEST(PauseGateTest, NewGateIsPausedAndAnOpenGateLetsThrough)
{
    PauseGate gate;
    EXPECT_TRUE(gate.IsPaused());
    gate.SetPaused(false);
    gate.Wait();
    gate.Wait();
    EXPECT_EQ(gate.WaitingCount(), 0);
}

TEST(PauseGateTest, PausedGateHoldsUntilPlay)
{
    PauseGate gate;
    GateRunner runner(gate);
    ASSERT_TRUE(WaitFor([&] { return gate.WaitingCount() == 1; }));
    EXPECT_EQ(runner.Passes(), 0);
    gate.SetPaused(false);
    ASSERT_TRUE(WaitFor([&] { return runner.Passes() > 10; }));
    gate.SetPaused(true);
    ASSERT_TRUE(WaitFor([&] { return gate.WaitingCount() == 1; }));
}

TEST(PauseGateTest, EachReleaseLetsTheWaiterPassExactlyOnce)
{
    PauseGate gate;
    GateRunner runner(gate);
    for (int step = 1; step <= 5; ++step) {
        ASSERT_TRUE(WaitFor([&] { return gate.WaitingCount() == 1; }));
        ASSERT_EQ(runner.Passes(), step - 1);
        gate.Release();
        // Back at the gate in a later round: it cannot pass again without another release.
        ASSERT_TRUE(WaitFor([&] { return runner.Passes() == step && gate.WaitingCount() == 1; }));
    }
}

TEST(PauseGateTest, ReleaseWithNobodyWaitingLetsNoLaterArrivalThrough)
{
    PauseGate gate;
    gate.Release();
    GateRunner runner(gate);
    ASSERT_TRUE(WaitFor([&] { return gate.WaitingCount() == 1; }));
    EXPECT_EQ(runner.Passes(), 0);
}

TEST(PauseGateTest, ReleaseLetsEveryWaiterThroughOnce)
{
    PauseGate gate;
    GateRunner first(gate);
    GateRunner second(gate);
    ASSERT_TRUE(WaitFor([&] { return gate.WaitingCount() == 2; }));
    gate.Release();
    ASSERT_TRUE(
        WaitFor([&] { return first.Passes() == 1 && second.Passes() == 1 && gate.WaitingCount() == 2; }));
}

// A released thread goes on only once the release has let every other waiter out.
TEST(PauseGateTest, ThreadsReleasedTogetherGoOnTogether)
{
    constexpr int kWaiters = 8;
    for (int round = 0; round < 10; ++round) {
        PauseGate gate;
        std::atomic<int> still_waiting_seen{0};
        std::vector<boost::thread> waiters;
        for (int i = 0; i < kWaiters; ++i) {
            waiters.emplace_back([&] {
                gate.Wait();
                still_waiting_seen += gate.WaitingCount();
            });
        }
        ASSERT_TRUE(WaitFor([&] { return gate.WaitingCount() == kWaiters; }));
        gate.Release();
        for (boost::thread& waiter : waiters)
            waiter.join();
        ASSERT_EQ(still_waiting_seen.load(), 0) << "round " << round;
    }
}

TEST(PauseGateTest, InterruptedWaitThrowsZeroAndCountsItsLeavingOnce)
{
    PauseGate gate;
    {
        GateRunner runner(gate);
        ASSERT_TRUE(WaitFor([&] { return gate.WaitingCount() == 1; }));
        runner.Thread().interrupt();
        runner.Thread().join();
        EXPECT_TRUE(runner.ThrewZero());
    }
    EXPECT_EQ(gate.WaitingCount(), 0);

    // A count left too low or too high would make this step hang or pass nobody.
    GateRunner later(gate);
    ASSERT_TRUE(WaitFor([&] { return gate.WaitingCount() == 1; }));
    gate.Release();
    ASSERT_TRUE(WaitFor([&] { return later.Passes() == 1 && gate.WaitingCount() == 1; }));
}

TEST(PauseGateTest, InterruptionRequestedBeforeTheWaitStillLeavesCleanly)
{
    PauseGate gate;
    std::atomic<bool> threw_zero{false};
    std::atomic<bool> may_wait{false};
    boost::thread thread([&] {
        while (!may_wait.load())
            boost::this_thread::yield();
        try {
            gate.Wait();
        } catch (int code) {
            threw_zero = code == 0;
        }
    });
    thread.interrupt();
    may_wait = true;
    thread.join();
    EXPECT_TRUE(threw_zero.load());
    EXPECT_EQ(gate.WaitingCount(), 0);
}

TEST(PauseGateTest, DestroyingTheGateLetsItsWaiterGo)
{
    auto gate = std::make_unique<PauseGate>();
    std::atomic<bool> passed{false};
    boost::thread thread([&] {
        gate->Wait();
        passed = true;
    });
    ASSERT_TRUE(WaitFor([&] { return gate->WaitingCount() == 1; }));
    gate.reset();
    thread.join();
    EXPECT_TRUE(passed.load());
}

TEST(PauseGateTest, WaitingAtAPausedGateUsesNoProcessorTime)
{
    PauseGate gate;
    GateRunner runner(gate);
    ASSERT_TRUE(WaitFor([&] { return gate.WaitingCount() == 1; }));
    clockid_t clock;
    ASSERT_EQ(pthread_getcpuclockid(runner.Thread().native_handle(), &clock), 0);
    timespec before{}, after{};
    clock_gettime(clock, &before);
    // A measuring interval, not synchronisation: a spinning waiter would burn most of it.
    boost::this_thread::sleep_for(boost::chrono::milliseconds(200));
    clock_gettime(clock, &after);
    const double used_ms = (after.tv_sec - before.tv_sec) * 1e3 + (after.tv_nsec - before.tv_nsec) / 1e6;
    EXPECT_LT(used_ms, 20.0);
}
