#include "engine/ConnectionManager.h"

#include <string>

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include "core/Output2FILE.h"
#include "support/TestSupport.h"
#include "ConnectionTestElements.h"

using testsupport::WaitFor;

namespace {

class ConnectionManagerTest : public ::testing::Test
{
protected:
    ConnectionManagerTest() : hub_(boost::make_shared<ControlAndStatus>()) {}

    std::string Link(ConnectionManager& manager, const boost::shared_ptr<ElementBase>& from,
                     const std::string& out_name, const boost::shared_ptr<ElementBase>& to,
                     const std::string& in_name, bool* success = nullptr)
    {
        return manager.Connect(from->GetOutputByName(out_name), to->GetInputByName(in_name), success, from, to);
    }

    testsupport::ScopedHome home_;
    boost::shared_ptr<ControlAndStatus> hub_;
};

}  // namespace

TEST_F(ConnectionManagerTest, ConnectNamesThePadsAndThePayloadType)
{
    auto video_out = MakeElement<PassThrough>(hub_, "Blur_0");
    auto video_in = MakeElement<PassThrough>(hub_, "Threshold_0");
    auto path_a = MakeElement<PathPadsElement>(hub_, "Contours_0");
    auto path_b = MakeElement<PathPadsElement>(hub_, "DrawPath_0");
    ConnectionManager manager(hub_);

    bool success = false;
    EXPECT_EQ(Link(manager, video_out, "output", video_in, "input", &success),
              "Connected Source : output of Blur_0 To input of Threshold_0 of type TwoDimentionalData");
    EXPECT_TRUE(success);
    success = false;
    EXPECT_EQ(Link(manager, path_a, "Path Output", path_b, "Path In", &success),
              "Connected Source : Path Output of Contours_0 To Path In of DrawPath_0 of type Path");
    EXPECT_TRUE(success);
    EXPECT_EQ(manager.ConnectionCount(), 2u);
}

TEST_F(ConnectionManagerTest, PadsOfDifferentTypesAreNotConnected)
{
    auto video = MakeElement<PassThrough>(hub_, "Blur_0");
    auto path = MakeElement<PathPadsElement>(hub_, "DrawPath_0");
    ConnectionManager manager(hub_);

    bool success = true;
    EXPECT_EQ(Link(manager, video, "output", path, "Path In", &success), "Could not connect");
    EXPECT_FALSE(success);
    EXPECT_EQ(Link(manager, path, "Path Output", video, "input"), "Could not connect");
    EXPECT_EQ(manager.ConnectionCount(), 0u);
    EXPECT_FALSE(video->GetOutputByName("output")->IsConnected());
    EXPECT_FALSE(path->GetInputByName("Path In")->IsConnected());
}

TEST_F(ConnectionManagerTest, APadThatIsAlreadyConnectedIsRefused)
{
    auto source = MakeElement<CountingSource>(hub_, "source_0");
    auto other_source = MakeElement<CountingSource>(hub_, "source_1");
    auto sink = MakeElement<RecordingSink>(hub_, "sink_0");
    auto other_sink = MakeElement<RecordingSink>(hub_, "sink_1");
    ConnectionManager manager(hub_);
    ASSERT_EQ(Link(manager, source, "output", sink, "input").rfind("Connected Source : ", 0), 0u);

    const struct {
        const char* what;
        boost::shared_ptr<ElementBase> from;
        boost::shared_ptr<ElementBase> to;
    } cases[] = {{"taken input", other_source, sink},
                 {"taken output", source, other_sink},
                 {"both taken", source, sink}};
    for (const auto& c : cases) {
        bool success = true;
        EXPECT_EQ(Link(manager, c.from, "output", c.to, "input", &success), "A port is connected") << c.what;
        EXPECT_FALSE(success) << c.what;
        EXPECT_EQ(Link(manager, c.from, "output", c.to, "input"), "A port is connected") << c.what;
    }
    EXPECT_EQ(manager.ConnectionCount(), 1u);
    EXPECT_EQ(sink->GetInputs().at(0)->peer_element_id.Get(), "source_0");
    EXPECT_EQ(source->GetOutputs().at(0)->peer_element_id.Get(), "sink_0");
    EXPECT_FALSE(other_source->GetOutputs().at(0)->IsConnected());
    EXPECT_FALSE(other_sink->GetInputs().at(0)->IsConnected());
}

TEST_F(ConnectionManagerTest, DisconnectElementRemovesOnlyItsConnections)
{
    auto a = MakeElement<CountingSource>(hub_, "a");
    auto b = MakeElement<PassThrough>(hub_, "b");
    auto c = MakeElement<PassThrough>(hub_, "c");
    auto d = MakeElement<RecordingSink>(hub_, "d");
    ConnectionManager manager(hub_);
    Link(manager, a, "output", b, "input");
    Link(manager, b, "output", c, "input");
    Link(manager, c, "output", d, "input");
    manager.StartAll();

    manager.DisconnectElement("B");  // ids match exactly
    EXPECT_EQ(manager.ConnectionCount(), 3u);
    manager.DisconnectElement("b");
    EXPECT_EQ(manager.ConnectionCount(), 1u);
    EXPECT_FALSE(a->GetOutputs().at(0)->IsConnected());
    EXPECT_FALSE(b->GetInputs().at(0)->IsConnected());
    EXPECT_FALSE(b->GetOutputs().at(0)->IsConnected());
    EXPECT_FALSE(c->GetInputs().at(0)->IsConnected());
    EXPECT_TRUE(c->GetOutputs().at(0)->IsConnected());
    EXPECT_TRUE(d->GetInputs().at(0)->IsConnected());
}

TEST_F(ConnectionManagerTest, DisconnectPairRemovesEveryLinkBetweenTheTwoInEitherDirection)
{
    auto a = MakeElement<PassThrough>(hub_, "a");
    auto b = MakeElement<PassThrough>(hub_, "b");
    auto pa = MakeElement<PathPadsElement>(hub_, "pa");
    auto pb = MakeElement<PathPadsElement>(hub_, "pb");
    ConnectionManager manager(hub_);
    Link(manager, a, "output", b, "input");
    Link(manager, b, "output", a, "input");
    Link(manager, pa, "Path Output", pb, "Path In");
    Link(manager, pb, "Path Output", pa, "Path In");
    ASSERT_EQ(manager.ConnectionCount(), 4u);

    manager.DisconnectPair("a", "pb");  // not joined to each other
    EXPECT_EQ(manager.ConnectionCount(), 4u);
    manager.DisconnectPair("b", "a");
    EXPECT_EQ(manager.ConnectionCount(), 2u);
    EXPECT_FALSE(a->GetInputs().at(0)->IsConnected());
    EXPECT_FALSE(a->GetOutputs().at(0)->IsConnected());
    manager.DisconnectPair("pa", "pa");  // every connection of that element
    EXPECT_EQ(manager.ConnectionCount(), 0u);
}

TEST_F(ConnectionManagerTest, EveryRecordOfAnElementGetsEachHook)
{
    auto source = MakeElement<CountingSource>(hub_, "source_0");
    auto sink = MakeElement<RecordingSink>(hub_, "sink_0");
    auto path = MakeElement<PathPadsElement>(hub_, "path_0");
    ConnectionManager manager(hub_);
    Link(manager, source, "output", sink, "input");
    Link(manager, source, "output", path, "Path In");  // refused, yet recorded

    manager.StartAll();
    EXPECT_EQ(source->hooks.start.load(), 2);
    // Two element records plus the pad of the one connection.
    EXPECT_EQ(source->hooks.reset.load(), 3);
    manager.SetPaused(true);
    EXPECT_EQ(source->hooks.pause.load(), 2);
    EXPECT_TRUE(manager.IsPaused());
    manager.StepAll();
    EXPECT_EQ(source->hooks.step.load(), 2);
    manager.StopAll();
    EXPECT_EQ(source->hooks.stop.load(), 2);
}

TEST_F(ConnectionManagerTest, StartAllOnARunningPipelineStopsEveryThreadBeforeAnyReset)
{
    auto source = MakeElement<QueueSource>(hub_, "source_0");
    auto sink = MakeElement<RecordingSink>(hub_, "sink_0");
    ConnectionManager manager(hub_);
    Link(manager, source, "output", sink, "input");
    manager.StartAll();
    ASSERT_TRUE(WaitFor([&] { return source->inside_make_data.load(); }));

    const int resets_before = source->resets.load();
    manager.StartAll();
    EXPECT_GT(source->resets.load(), resets_before);
    EXPECT_EQ(source->resets_while_running.load(), 0);
    // Still running after the restart.
    ASSERT_TRUE(WaitFor([&] { return source->inside_make_data.load(); }));
    source->queue.Push(PassableItem<VideoFrame>(boost::make_shared<VideoFrame>()));
    ASSERT_TRUE(WaitFor([&] { return sink->count.load() == 1; }));
}

TEST_F(ConnectionManagerTest, StepAllPausesARunningPipelineAndARestartKeepsItPaused)
{
    auto source = MakeElement<CountingSource>(hub_, "source_0");
    auto filter = MakeElement<PassThrough>(hub_, "filter_0");
    auto sink = MakeElement<RecordingSink>(hub_, "sink_0");
    ConnectionManager manager(hub_);
    Link(manager, source, "output", filter, "input");
    Link(manager, filter, "output", sink, "input");
    manager.StartAll();
    ASSERT_TRUE(WaitFor([&] { return sink->count.load() >= 5; }));

    manager.StepAll();
    EXPECT_TRUE(manager.IsPaused());
    manager.StopAll();
    manager.StartAll();
    EXPECT_TRUE(manager.IsPaused());
    // Held: a step moves the sink on by exactly one item each time.
    manager.StepAll();
    const auto sink_pad = sink->GetInputs().at(0);
    const long long held = sink_pad->frame_count.Get();
    manager.StepAll();
    ASSERT_TRUE(WaitFor([&] { return sink_pad->frame_count.Get() >= held + 1; }));
    manager.SetPaused(false);
    EXPECT_FALSE(manager.IsPaused());
    ASSERT_TRUE(WaitFor([&] { return sink_pad->frame_count.Get() >= held + 20; }));
}

TEST_F(ConnectionManagerTest, DisconnectAllEmptiesThePipelineAndClearsThePause)
{
    auto source = MakeElement<CountingSource>(hub_, "source_0");
    auto sink = MakeElement<RecordingSink>(hub_, "sink_0");
    ConnectionManager manager(hub_);
    Link(manager, source, "output", sink, "input");
    manager.StartAll();
    manager.SetPaused(true);
    manager.DisconnectAll();
    EXPECT_EQ(manager.ConnectionCount(), 0u);
    EXPECT_FALSE(manager.IsPaused());
    EXPECT_FALSE(sink->GetInputs().at(0)->IsConnected());
    // The element records stay.
    manager.StartAll();
    EXPECT_EQ(source->hooks.start.load(), 2);
}

TEST_F(ConnectionManagerTest, DestroyingTheManagerStopsAndRemovesRunningConnections)
{
    auto source = MakeElement<CountingSource>(hub_, "source_0");
    auto filter = MakeElement<PassThrough>(hub_, "filter_0");
    auto sink = MakeElement<RecordingSink>(hub_, "sink_0");
    {
        ConnectionManager manager(hub_);
        Link(manager, source, "output", filter, "input");
        Link(manager, filter, "output", sink, "input");
        manager.StartAll();
        ASSERT_TRUE(WaitFor([&] { return sink->count.load() >= 5; }));
        manager.SetPaused(true);
    }
    EXPECT_FALSE(source->GetOutputs().at(0)->IsConnected());
    EXPECT_FALSE(sink->GetInputs().at(0)->IsConnected());
    EXPECT_EQ(source->hooks.stop.load(), 1);
}

TEST_F(ConnectionManagerTest, LogAllReportsEveryConnection)
{
    auto source = MakeElement<CountingSource>(hub_, "source_0");
    auto filter = MakeElement<PassThrough>(hub_, "filter_0");
    auto sink = MakeElement<RecordingSink>(hub_, "sink_0");
    ConnectionManager manager(hub_);
    Link(manager, source, "output", filter, "input");
    Link(manager, filter, "output", sink, "input");
    Output2FILE::Drain();
    manager.LogAll();
    const std::string log = Output2FILE::Drain();
    EXPECT_NE(log.find("Connection : source_0->filter_0\n"), std::string::npos) << log;
    EXPECT_NE(log.find("Connection : filter_0->sink_0\n"), std::string::npos) << log;
}
