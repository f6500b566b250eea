#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <boost/make_shared.hpp>
#include <boost/thread/lock_guard.hpp>
#include <boost/thread/mutex.hpp>

#include "core/ControlAndStatus.h"
#include "core/VideoFrame.h"
#include "engine/FrameSyncElement.h"
#include "support/FrameMaker.h"
#include "support/TestSupport.h"

using testsupport::WaitFor;

namespace {

using Pair = std::pair<std::int64_t, std::int64_t>;

using testsupport::NumberedFrame;

// Pairs by frame number unless the test gives its own rule; records pairs.
class RecordingSync : public FrameSyncElement<VideoFrame> {
public:
    explicit RecordingSync(boost::shared_ptr<ControlAndStatus> hub) : FrameSyncElement<VideoFrame>(hub)
    {
        SetConnected(true, true);
    }

    void EmitPair(PassableItem<VideoFrame> a, PassableItem<VideoFrame> b) override
    {
        boost::lock_guard<boost::mutex> lock(pairs_mutex_);
        pairs_.emplace_back(a.data->frame_number, b.data->frame_number);
    }
    bool IsMatch(PassableItem<VideoFrame> a, PassableItem<VideoFrame> b) override
    {
        return match ? match(a.data->frame_number, b.data->frame_number)
                     : a.data->frame_number == b.data->frame_number;
    }

    void SetConnected(bool first, bool second)
    {
        Sink<VideoFrame>::peer_element_id.Set(first ? "Source_0" : "");
        input_1.peer_element_id.Set(second ? "Source_1" : "");
    }
    // What input 1's connection does with an item.
    void PassToInput1(std::int64_t number) { input_1.PassData(NumberedFrame(number)); }
    int Input1Waiting() { return input_1.queue.Count(); }

    std::vector<Pair> Pairs()
    {
        boost::lock_guard<boost::mutex> lock(pairs_mutex_);
        return pairs_;
    }

    std::function<bool(std::int64_t, std::int64_t)> match;

private:
    boost::mutex pairs_mutex_;  // guards pairs_
    std::vector<Pair> pairs_;
};

class FrameSyncElementTest : public ::testing::Test {
protected:
    boost::shared_ptr<ControlAndStatus> hub = boost::make_shared<ControlAndStatus>();
};

}  // namespace

TEST_F(FrameSyncElementTest, HasTwoVideoInputsAndNoOutputs)
{
    RecordingSync sync(hub);
    ASSERT_EQ(sync.GetInputs().size(), 2u);
    EXPECT_EQ(sync.GetInputs()[0]->pad_name.Get(), "input 0");
    EXPECT_EQ(sync.GetInputs()[1]->pad_name.Get(), "input 1");
    EXPECT_EQ(sync.GetInputs()[1]->GetTypeName(), "2D Info");
    EXPECT_TRUE(sync.GetOutputs().empty());
}

// Each step is 'a' (arrival on input 0) or 'b' (item on input 1) with a frame number.
TEST_F(FrameSyncElementTest, PairsFrameNumbersAsTheTableSays)
{
    struct Case {
        std::string name;
        std::vector<std::pair<char, std::int64_t>> steps;
        std::vector<Pair> expected;
    };
    const std::vector<Case> cases = {
        {"matching streams pair at the front",
         {{'b', 1}, {'a', 1}, {'b', 2}, {'a', 2}, {'b', 3}, {'a', 3}},
         {{1, 1}, {2, 2}, {3, 3}}},
        {"a front match leaves nothing behind", {{'b', 1}, {'a', 1}, {'b', 1}, {'a', 2}}, {{1, 1}}},
        {"input 0 waits for input 1",
         {{'a', 1}, {'a', 2}, {'b', 1}, {'a', 3}, {'b', 3}, {'a', 4}},
         {{1, 1}, {3, 3}}},
        {"older items of both buffers are discarded",
         {{'a', 3}, {'b', 1}, {'a', 4}, {'b', 3}, {'a', 5}, {'b', 5}, {'a', 6}, {'b', 4}, {'a', 7}},
         {{3, 3}, {5, 5}}},
        {"the oldest input-0 item with a match wins",
         {{'a', 1}, {'a', 2}, {'b', 2}, {'a', 3}, {'b', 1}, {'a', 4}},
         {{2, 2}}},
        {"unmatched items stay until a match passes them",
         {{'b', 7}, {'a', 1}, {'b', 8}, {'a', 2}, {'b', 2}, {'a', 7}},
         {{2, 2}}},
    };
    for (const Case& c : cases) {
        RecordingSync sync(hub);
        for (const auto& step : c.steps) {
            if (step.first == 'a')
                sync.PassData(NumberedFrame(step.second));
            else
                sync.PassToInput1(step.second);
        }
        EXPECT_EQ(sync.Pairs(), c.expected) << c.name;
    }
}

TEST_F(FrameSyncElementTest, OlderInput0ItemBeatsAnEarlierMatchOfInput1)
{
    // Buffers [a1, a2, a3] and [b1, b2]; a2 matches b1, a1 matches b2.
    RecordingSync sync(hub);
    bool armed = false;
    sync.match = [&](std::int64_t a, std::int64_t b) {
        return armed && ((a == 2 && b == 1) || (a == 1 && b == 2) || (a == 2 && b == 11));
    };
    sync.PassData(NumberedFrame(1));
    sync.PassToInput1(1);
    sync.PassData(NumberedFrame(2));
    sync.PassToInput1(2);
    armed = true;
    sync.PassData(NumberedFrame(3));
    EXPECT_EQ(sync.Pairs(), (std::vector<Pair>{{1, 2}}));

    // b1 went with the pair; a2 is still there for a later partner.
    sync.PassToInput1(11);
    sync.PassData(NumberedFrame(4));
    EXPECT_EQ(sync.Pairs(), (std::vector<Pair>{{1, 2}, {2, 11}}));
}

TEST_F(FrameSyncElementTest, ArrivalWhileAnInputIsUnconnectedEmptiesBothBuffers)
{
    for (bool input_0_connected : {false, true}) {
        RecordingSync sync(hub);
        sync.PassData(NumberedFrame(1));
        sync.PassToInput1(5);
        sync.PassData(NumberedFrame(5));  // pairs (5, 5), a1 discarded
        sync.PassData(NumberedFrame(2));
        sync.SetConnected(input_0_connected, !input_0_connected);
        sync.PassData(NumberedFrame(3));
        sync.SetConnected(true, true);
        sync.PassToInput1(2);
        sync.PassData(NumberedFrame(9));
        EXPECT_EQ(sync.Pairs(), (std::vector<Pair>{{5, 5}}));
    }
}

TEST_F(FrameSyncElementTest, ResetEmptiesBothBuffers)
{
    RecordingSync sync(hub);
    sync.PassData(NumberedFrame(1));
    sync.PassToInput1(2);
    sync.PassData(NumberedFrame(3));
    sync.Reset();
    sync.PassToInput1(1);
    sync.PassData(NumberedFrame(2));
    EXPECT_TRUE(sync.Pairs().empty());
}

TEST_F(FrameSyncElementTest, Input0BufferKeepsTheNewest32)
{
    RecordingSync sync(hub);
    for (int n = 1; n <= 40; ++n)
        sync.PassData(NumberedFrame(n));
    // Now 9..40; each probe is an arrival too, so it pushes out one more.
    sync.PassToInput1(9);
    sync.PassData(NumberedFrame(41));
    EXPECT_TRUE(sync.Pairs().empty());
    sync.PassToInput1(11);
    sync.PassData(NumberedFrame(42));
    EXPECT_EQ(sync.Pairs(), (std::vector<Pair>{{11, 11}}));
}

TEST_F(FrameSyncElementTest, Input1BufferKeepsTheNewest32)
{
    RecordingSync sync(hub);
    for (int n = 1; n <= 40; ++n) {
        sync.PassToInput1(n);
        sync.PassData(NumberedFrame(1000 + n));
    }
    // Buffer 1 holds 9..40 now.
    sync.PassData(NumberedFrame(8));
    EXPECT_TRUE(sync.Pairs().empty());
    sync.PassData(NumberedFrame(9));
    EXPECT_EQ(sync.Pairs(), (std::vector<Pair>{{9, 9}}));
}

TEST_F(FrameSyncElementTest, Input1WaitsWhileInput0ReceivesNothing)
{
    RecordingSync sync(hub);
    sync.PassToInput1(1);
    std::atomic<bool> second_passed{false};
    std::thread input_1_connection([&] {
        sync.PassToInput1(2);
        second_passed = true;
    });
    EXPECT_FALSE(WaitFor([&] { return second_passed.load(); }, std::chrono::milliseconds(100)));
    EXPECT_EQ(sync.Input1Waiting(), 1);

    sync.PassData(NumberedFrame(1));
    ASSERT_TRUE(WaitFor([&] { return second_passed.load(); }));
    input_1_connection.join();
    sync.PassData(NumberedFrame(2));
    EXPECT_EQ(sync.Pairs(), (std::vector<Pair>{{1, 1}, {2, 2}}));
}

TEST_F(FrameSyncElementTest, ResetWhileItemsArriveLeavesTheBuffersSound)
{
    RecordingSync sync(hub);
    std::atomic<bool> done{false};
    std::thread arrivals([&] {
        for (int n = 0; n < 3000; ++n) {
            sync.PassToInput1(n % 7 == 0 ? n : -n);
            sync.PassData(NumberedFrame(n));
        }
        done = true;
    });
    int resets = 0;
    while (!done) {
        sync.Reset();
        ++resets;
    }
    arrivals.join();
    EXPECT_GT(resets, 0);
    for (const Pair& pair : sync.Pairs())
        EXPECT_EQ(pair.first, pair.second);

    // Still pairs normally afterwards.
    sync.Reset();
    const std::size_t before = sync.Pairs().size();
    sync.PassToInput1(5000);
    sync.PassData(NumberedFrame(5000));
    ASSERT_EQ(sync.Pairs().size(), before + 1);
    EXPECT_EQ(sync.Pairs().back(), Pair(5000, 5000));
}
