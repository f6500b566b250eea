#include "engine/Looper.h"

#include <climits>
#include <string>

#include <boost/chrono.hpp>
#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include "core/FrameRateSettings.h"
#include "core/Output2FILE.h"
#include "support/TestSupport.h"
#include "ConnectionTestElements.h"

using testsupport::WaitFor;
using VideoLooper = Looper<VideoFrame>;

namespace {

// Well under the 0.5 s back-off.
constexpr double kPromptSeconds = 0.4;
// Far under the waits a stop must cut short (endless, or a 1000 s pacing sleep), far over
// any delay a busy machine adds.
constexpr double kCutShortSeconds = 20.0;

class LooperTest : public ::testing::Test {
protected:
    LooperTest()
        : hub_(boost::make_shared<ControlAndStatus>()), rate_(hub_->GetSharedControl<FrameRateSettings>(""))
    {
    }

    boost::shared_ptr<VideoLooper> Join(ElementBase& from, ElementBase& to)
    {
        return boost::make_shared<VideoLooper>(from.GetOutputs().at(0), to.GetInputs().at(0), hub_);
    }
    // source_0 -> sink_0
    boost::shared_ptr<VideoLooper> Join() { return Join(*source_, *sink_); }

    static double SecondsToStop(VideoLooper& looper)
    {
        const auto begin = boost::chrono::steady_clock::now();
        looper.Stop();
        return boost::chrono::duration<double>(boost::chrono::steady_clock::now() - begin).count();
    }

    testsupport::ScopedHome home_;
    boost::shared_ptr<ControlAndStatus> hub_;
    boost::shared_ptr<FrameRateSettings> rate_;
    // A test's own Loopers are locals, so they go before these elements.
    boost::shared_ptr<CountingSource> source_ = MakeElement<CountingSource>(hub_, "source_0");
    boost::shared_ptr<RecordingSink> sink_ = MakeElement<RecordingSink>(hub_, "sink_0");
};

}  // namespace

TEST(LooperFrameCountTest, CountRunsUpToTheLargestIntThenStartsAgainAtZero)
{
    const struct {
        int count;
        int next;
    } cases[] = {{0, 1}, {41, 42}, {INT_MAX - 1, INT_MAX}, {INT_MAX, 0}, {-1, 0}, {INT_MIN, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(LooperInterface::NextFrameCount(c.count), c.next) << "count " << c.count;
}

TEST_F(LooperTest, ConstructionJoinsThePadsAndDestructionSeparatesThem)
{
    auto looper = Join();
    auto out = source_->GetOutputs().at(0);
    auto in = sink_->GetInputs().at(0);
    EXPECT_EQ(looper->GetStatus(), "Null but has source");
    EXPECT_EQ(in->peer_element_id.Get(), "source_0");
    EXPECT_EQ(out->peer_element_id.Get(), "sink_0");
    EXPECT_EQ(in->peer_pad_name.Get(), "output");
    EXPECT_EQ(out->peer_pad_name.Get(), "input");
    EXPECT_EQ(source_->calls.load(), 0) << "a new connection moves nothing before it starts";

    looper.reset();
    EXPECT_FALSE(in->IsConnected());
    EXPECT_FALSE(out->IsConnected());
    EXPECT_EQ(in->peer_pad_name.Get(), "");
    EXPECT_EQ(out->peer_pad_name.Get(), "");
}

TEST_F(LooperTest, ItemsArriveInOrderAndEveryCountAgreesAcrossRestarts)
{
    auto looper = Join();
    for (int round = 1; round <= 2; ++round) {
        const int before = sink_->count.load();
        looper->Start();
        looper->Start();  // a start of a running connection is a restart
        ASSERT_TRUE(WaitFor([&] { return sink_->count.load() >= before + 20; }));
        looper->Stop();
        EXPECT_EQ(looper->GetStatus(), "stopped");
        const int count = sink_->count.load();
        EXPECT_EQ(looper->GetFrameCount(), count);
        EXPECT_EQ(source_->GetOutputs().at(0)->frame_count.Get(), count);
        EXPECT_EQ(sink_->GetInputs().at(0)->frame_count.Get(), count);
    }
    // A stop may drop the item taken in the pass it interrupts, but never reorders.
    const std::vector<std::int64_t> numbers = sink_->Numbers();
    for (std::size_t i = 1; i < numbers.size(); ++i)
        ASSERT_LT(numbers[i - 1], numbers[i]);
}

TEST_F(LooperTest, NothingReachesTheSinkFromAnInvalidItemOrWithoutAPeer)
{
    const struct {
        const char* what;
        bool valid_items;
        bool sink_keeps_peer;
    } cases[] = {{"invalid items", false, true}, {"sink lost its peer", true, false}};
    for (const auto& c : cases) {
        auto source = MakeElement<CountingSource>(hub_, "source_0");
        auto sink = MakeElement<RecordingSink>(hub_, "sink_0");
        source->valid = c.valid_items;
        auto looper = Join(*source, *sink);
        if (!c.sink_keeps_peer)
            sink->GetInputs().at(0)->peer_element_id.Set("");
        looper->Start();
        ASSERT_TRUE(WaitFor([&] { return source->calls.load() >= 5; })) << c.what;
        looper->Stop();
        EXPECT_EQ(sink->entered.load(), 0) << c.what;
        EXPECT_EQ(looper->GetFrameCount(), 0) << c.what;
    }
}

TEST_F(LooperTest, StopReturnsPromptlyWhileBlockedInAQueue)
{
    auto source = MakeElement<QueueSource>(hub_, "source_0");
    auto looper = Join(*source, *sink_);
    looper->Start();
    ASSERT_TRUE(WaitFor([&] { return source->inside_make_data.load(); }));
    EXPECT_LT(SecondsToStop(*looper), kCutShortSeconds);
    EXPECT_EQ(looper->GetStatus(), "stopped");
}

TEST_F(LooperTest, StopReturnsPromptlyWhileWaitingAtAPausedGate)
{
    auto looper = Join();
    looper->Pause(true);
    looper->Start();
    ASSERT_TRUE(WaitFor([&] { return looper->IsWaitingAtGate(); }));
    EXPECT_LT(SecondsToStop(*looper), kCutShortSeconds);
    EXPECT_EQ(looper->GetStatus(), "stopped");
    EXPECT_FALSE(looper->IsWaitingAtGate());
}

TEST_F(LooperTest, StopReturnsPromptlyFromALongPacingSleep)
{
    rate_->global_frame_rate.Set(0.001);  // 1000 s between frames
    rate_->limit_frame_rate.Set(true);
    auto looper = Join();
    looper->Start();
    ASSERT_TRUE(WaitFor([&] { return sink_->count.load() == 1; }));
    EXPECT_LT(SecondsToStop(*looper), kCutShortSeconds);
    EXPECT_EQ(looper->GetStatus(), "stopped");
    EXPECT_EQ(sink_->count.load(), 1);
}

TEST_F(LooperTest, StopReturnsPromptlyAfterAFailedPassWhenTheQueueIsDead)
{
    auto source = MakeElement<QueueSource>(hub_, "source_0");
    source->queue.Shutdown();  // every pass throws 0 and backs off
    auto looper = Join(*source, *sink_);
    looper->Start();
    // Out of the failed pass and into its back-off.
    ASSERT_TRUE(WaitFor([&] { return source->calls.load() >= 1 && !source->inside_make_data.load(); }));
    EXPECT_LT(SecondsToStop(*looper), kPromptSeconds);
}

TEST_F(LooperTest, StopDoesNotHangWhenElementCodeSwallowsAnInterruption)
{
    sink_->mode = RecordingSink::Mode::SwallowOneInterruption;
    auto looper = Join();
    looper->Start();
    ASSERT_TRUE(WaitFor([&] { return sink_->entered.load() == 1; }));
    looper->Stop();
    EXPECT_TRUE(sink_->swallowed.load());
    EXPECT_EQ(looper->GetStatus(), "stopped");
}

TEST_F(LooperTest, EachStepOfAPausedConnectionMovesExactlyOneItem)
{
    auto looper = Join();
    looper->Pause(true);
    looper->Start();
    // The first pass runs before the gate holds the thread.
    for (int expected = 1; expected <= 4; ++expected) {
        ASSERT_TRUE(WaitFor([&] { return looper->IsWaitingAtGate() && sink_->count.load() == expected; }))
            << "after step " << expected - 1;
        looper->Step();
    }
    looper->Stop();
}

TEST_F(LooperTest, StepPausesARunningConnectionAndPlayResumesIt)
{
    auto looper = Join();
    looper->Start();
    ASSERT_TRUE(WaitFor([&] { return sink_->count.load() >= 5; }));
    looper->Step();
    ASSERT_TRUE(WaitFor([&] { return looper->IsWaitingAtGate(); }));
    const int held = sink_->count.load();
    looper->Step();
    ASSERT_TRUE(WaitFor([&] { return looper->IsWaitingAtGate() && sink_->count.load() == held + 1; }));
    looper->Pause(false);
    ASSERT_TRUE(WaitFor([&] { return sink_->count.load() >= held + 10; }));
    looper->Stop();
}

TEST_F(LooperTest, StepOfATwoStageChainMovesOneItemThroughEachConnection)
{
    auto filter = MakeElement<PassThrough>(hub_, "filter_0");
    auto first = Join(*source_, *filter);
    auto second = Join(*filter, *sink_);
    first->Pause(true);
    second->Pause(true);
    first->Start();
    second->Start();
    for (int expected = 1; expected <= 4; ++expected) {
        ASSERT_TRUE(WaitFor([&] {
            return first->IsWaitingAtGate() && second->IsWaitingAtGate() &&
                   first->GetFrameCount() == expected && second->GetFrameCount() == expected;
        })) << "after step "
            << expected - 1;
        if (expected < 4) {
            first->Step();
            second->Step();
        }
    }
    first->Stop();
    second->Stop();
    EXPECT_EQ(sink_->Numbers(), (std::vector<std::int64_t>{0, 1, 2, 3}));
}

TEST_F(LooperTest, RestartKeepsAPausedConnectionPaused)
{
    auto looper = Join();
    looper->Pause(true);
    looper->Start();
    ASSERT_TRUE(WaitFor([&] { return looper->IsWaitingAtGate() && sink_->count.load() == 1; }));
    looper->Start();
    // The new thread runs its one pass and is held again.
    ASSERT_TRUE(WaitFor([&] { return looper->IsWaitingAtGate() && sink_->count.load() == 2; }));
    looper->Stop();
}

TEST_F(LooperTest, DroppedFramesCostNoBackOff)
{
    sink_->mode = RecordingSink::Mode::ThrowDrop;
    auto looper = Join();
    looper->Start();
    // With a 0.5 s back-off per drop, 400 drops would take 200 s.
    ASSERT_TRUE(WaitFor([&] { return sink_->drops.load() >= 400; }));
    looper->Stop();
    EXPECT_EQ(looper->GetFrameCount(), 0);
}

TEST_F(LooperTest, PacingKeepsTheFrameRateOnlyWhileTheLimitIsOn)
{
    rate_->global_frame_rate.Set(30.0);
    rate_->limit_frame_rate.Set(true);
    auto looper = Join();
    const auto begin = boost::chrono::steady_clock::now();
    looper->Start();
    ASSERT_TRUE(WaitFor([&] { return sink_->count.load() >= 4; }));
    const double elapsed =
        boost::chrono::duration<double>(boost::chrono::steady_clock::now() - begin).count();
    EXPECT_GE(elapsed, 3 * 0.033) << "three paced gaps of 33 ms";

    // Paced, even one more item would take 1000 s. The limit goes off first: a pass reads
    // the rate before the limit, so none sees the slow rate with the limit still on.
    rate_->limit_frame_rate.Set(false);
    rate_->global_frame_rate.Set(0.001);
    const int paced = sink_->count.load();
    ASSERT_TRUE(WaitFor([&] { return sink_->count.load() >= paced + 300; }));
    looper->Stop();
}

TEST_F(LooperTest, StatusIsLoggedOnlyWhenForcedOrLoggingEverything)
{
    auto looper = Join();
    Output2FILE::Drain();
    looper->PrintStatus(false);
    EXPECT_EQ(Output2FILE::Drain(), "");

    looper->PrintStatus(true);
    const std::string forced = Output2FILE::Drain();
    EXPECT_NE(forced.find("Connection : source_0->sink_0\n State : Null but has source\n"), std::string::npos)
        << forced;
    EXPECT_NE(forced.find("Frame count: 0\n\n"), std::string::npos) << forced;
    EXPECT_EQ(looper->GetDescription(), "Connection : source_0->sink_0\n State : Null but has source");

    looper->SetLogEverything(true);
    looper->PrintStatus(false);
    EXPECT_NE(Output2FILE::Drain().find("Frame count: 0"), std::string::npos);
}

TEST_F(LooperTest, InvolvesMatchesEitherElementIdExactly)
{
    auto source = MakeElement<CountingSource>(hub_, "Blur_0");
    auto sink = MakeElement<RecordingSink>(hub_, "Threshold_1");
    auto looper = Join(*source, *sink);
    const struct {
        const char* id;
        bool involved;
    } cases[] = {{"Blur_0", true},   {"Threshold_1", true}, {"blur_0", false}, {"Blur_0 ", false},
                 {"Blur_01", false}, {"Blur_", false},      {"", false},       {"THRESHOLD_1", false}};
    for (const auto& c : cases)
        EXPECT_EQ(looper->Involves(c.id), c.involved) << '"' << c.id << '"';
}

TEST_F(LooperTest, PadsOfAnotherTypeGiveAConnectionThatNeverRuns)
{
    Output2FILE::Drain();
    Looper<PathContainer> looper(source_->GetOutputs().at(0), sink_->GetInputs().at(0), hub_);
    EXPECT_NE(Output2FILE::Drain().find("Failed to cast"), std::string::npos);
    EXPECT_FALSE(sink_->GetInputs().at(0)->IsConnected());
    looper.Start();
    EXPECT_NE(Output2FILE::Drain().find("Cannot run as sink or source is null"), std::string::npos);
    looper.Stop();
    EXPECT_EQ(source_->calls.load(), 0);
}
