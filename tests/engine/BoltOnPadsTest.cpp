#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include <boost/make_shared.hpp>

#include "core/PathContainer.h"
#include "core/VideoFrame.h"
#include "engine/BoltOnSink.h"
#include "engine/BoltOnSource.h"
#include "support/FrameMaker.h"
#include "support/TestSupport.h"

using testsupport::WaitFor;

namespace {

using testsupport::NumberedFrame;

}  // namespace

TEST(BoltOnPadsTest, TypeTextFollowsThePayload)
{
    EXPECT_EQ(BoltOnSource<VideoFrame>().GetTypeName(), "2D Info");
    EXPECT_EQ(BoltOnSink<VideoFrame>().GetTypeName(), "2D Info");
    EXPECT_EQ(BoltOnSource<PathContainer>().GetTypeName(), "Path");
    EXPECT_EQ(BoltOnSink<PathContainer>().GetTypeName(), "Path");
}

TEST(BoltOnPadsTest, PushOnAnUnconnectedSourceDropsAtOnce)
{
    BoltOnSource<VideoFrame> pad;
    for (int i = 0; i < 3; ++i)
        pad.Push(NumberedFrame(i));
    EXPECT_EQ(pad.queue.Count(), 0);
}

TEST(BoltOnPadsTest, PushOnAConnectedSourceWaitsUntilTheItemIsTaken)
{
    BoltOnSource<VideoFrame> pad;
    pad.peer_element_id.Set("Sink_0");
    pad.Push(NumberedFrame(1));
    EXPECT_EQ(pad.queue.Count(), 1);

    std::atomic<bool> pushed{false};
    std::thread element([&] {
        pad.Push(NumberedFrame(2));
        pushed = true;
    });
    EXPECT_FALSE(WaitFor([&] { return pushed.load(); }, std::chrono::milliseconds(100)));
    EXPECT_EQ(pad.GetData().data->frame_number, 1);
    ASSERT_TRUE(WaitFor([&] { return pushed.load(); }));
    element.join();
    EXPECT_EQ(pad.GetData().data->frame_number, 2);
}

TEST(BoltOnPadsTest, ResetEmptiesTheQueueOfEitherPad)
{
    BoltOnSource<VideoFrame> source;
    source.peer_element_id.Set("Sink_0");
    source.Push(NumberedFrame(1));
    source.Reset();
    EXPECT_EQ(source.queue.Count(), 0);

    BoltOnSink<VideoFrame> sink;
    sink.PassData(NumberedFrame(1));
    sink.Reset();
    EXPECT_EQ(sink.queue.Count(), 0);
}

TEST(BoltOnPadsTest, SinkBuffersOneItemAndHoldsTheConnectionBack)
{
    BoltOnSink<VideoFrame> sink;
    sink.PassData(NumberedFrame(1));
    std::atomic<bool> passed{false};
    std::thread connection([&] {
        sink.PassData(NumberedFrame(2));
        passed = true;
    });
    EXPECT_FALSE(WaitFor([&] { return passed.load(); }, std::chrono::milliseconds(100)));
    EXPECT_EQ(sink.queue.Pop().data->frame_number, 1);
    ASSERT_TRUE(WaitFor([&] { return passed.load(); }));
    connection.join();
    EXPECT_EQ(sink.queue.Pop().data->frame_number, 2);
}

TEST(BoltOnPadsTest, IgnoringSinkDropsEverythingWithoutBlocking)
{
    BoltOnSink<VideoFrame> sink;
    sink.SetIgnore(true);
    for (int i = 0; i < 5; ++i)
        sink.PassData(NumberedFrame(i));
    EXPECT_EQ(sink.queue.Count(), 0);
    sink.SetIgnore(false);
    sink.PassData(NumberedFrame(9));
    EXPECT_EQ(sink.queue.Count(), 1);
}
