#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include <boost/make_shared.hpp>

#include "core/PathContainer.h"
#include "core/VideoFrame.h"
#include "engine/BoltOnSink.h"
#include "engine/BoltOnSource.h"
#include "support/FrameMaker.h"
#include "support/LogCapture.h"
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

// An extra input whose element takes its items only while handling its main input.
class FollowingSinkTest : public ::testing::Test {
protected:
    FollowingSinkTest()
    {
        main.pad_name.Set("input");
        extra.pad_name.Set("second input");
        extra.owner_element_id.Set("Overlay_0");
        extra.FollowMainInput(main);
    }

    BoltOnSink<VideoFrame> main;
    BoltOnSink<VideoFrame> extra;
};

TEST_F(FollowingSinkTest, WhileTheMainInputIsUnconnectedItemsAreDroppedAndThatIsSaidOnce)
{
    const std::string waiting = "Overlay_0: waiting for \"input\" to be connected; what arrives on \"second "
                                "input\" is dropped until then";
    LogCapture log;
    for (int i = 0; i < 5; ++i)
        extra.PassData(NumberedFrame(i));
    EXPECT_EQ(extra.queue.Count(), 0);
    EXPECT_EQ(log.LinesWith("[WARNING]"), 1);
    EXPECT_EQ(log.LinesWith(waiting), 1) << log.Text();

    main.peer_element_id.Set("Camera_0");
    extra.PassData(NumberedFrame(7));
    EXPECT_EQ(extra.queue.Count(), 1);

    // Gone again: what waited is dropped too, and the wait is said anew.
    main.peer_element_id.Set("");
    extra.PassData(NumberedFrame(8));
    EXPECT_EQ(extra.queue.Count(), 0);
    EXPECT_EQ(log.LinesWith(waiting), 2);
}

TEST_F(FollowingSinkTest, APushWaitingWhenTheMainInputLosesItsConnectionGoesThrough)
{
    main.peer_element_id.Set("Camera_0");
    extra.PassData(NumberedFrame(1));
    std::atomic<bool> passed{false};
    std::thread connection([&] {
        extra.PassData(NumberedFrame(2));
        passed = true;
    });
    EXPECT_FALSE(WaitFor([&] { return passed.load(); }, std::chrono::milliseconds(100)));
    // What a connection's removal does to the pad it fed.
    main.peer_element_id.Set("");
    main.disconnected();
    EXPECT_TRUE(WaitFor([&] { return passed.load(); }));
    connection.join();
}
