#include "engine/ConnectionManager.h"

#include <functional>
#include <string>
#include <vector>

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include "support/FrameMaker.h"
#include "support/LogCapture.h"
#include "support/TestSupport.h"
#include "ConnectionTestElements.h"

using testsupport::WaitFor;

namespace {

// Gives every test a source, a filter and a sink. A test declares its manager
// (and any elements of its own) in its body, so the connections go before the
// elements they point into.
class ConnectionManagerTest : public ::testing::Test {
protected:
    ConnectionManagerTest()
        : hub_(boost::make_shared<ControlAndStatus>()),
          source_(MakeElement<CountingSource>(hub_, "source_0")),
          filter_(MakeElement<PassThrough>(hub_, "filter_0")),
          sink_(MakeElement<RecordingSink>(hub_, "sink_0"))
    {
    }

    static std::string Link(ConnectionManager& manager, const boost::shared_ptr<ElementBase>& from,
                            const std::string& out_name, const boost::shared_ptr<ElementBase>& to,
                            const std::string& in_name, bool* success = nullptr)
    {
        return manager.Connect(from->GetOutputByName(out_name), to->GetInputByName(in_name), success, from,
                               to);
    }

    static void ExpectConnected(const std::string& message)
    {
        EXPECT_EQ(message.rfind("Connected Source : ", 0), 0u) << message;
    }

    // source_0 -> sink_0
    void LinkSourceToSink(ConnectionManager& manager)
    {
        ExpectConnected(Link(manager, source_, "output", sink_, "input"));
    }

    // source_0 -> filter_0 -> sink_0
    void LinkChain(ConnectionManager& manager)
    {
        ExpectConnected(Link(manager, source_, "output", filter_, "input"));
        ExpectConnected(Link(manager, filter_, "output", sink_, "input"));
    }

    testsupport::ScopedHome home_;
    boost::shared_ptr<ControlAndStatus> hub_;
    boost::shared_ptr<CountingSource> source_;
    boost::shared_ptr<PassThrough> filter_;
    boost::shared_ptr<RecordingSink> sink_;
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
    auto path = MakeElement<PathPadsElement>(hub_, "DrawPath_0");
    ConnectionManager manager(hub_);

    bool success = true;
    EXPECT_EQ(Link(manager, filter_, "output", path, "Path In", &success), "Could not connect");
    EXPECT_FALSE(success);
    EXPECT_EQ(Link(manager, path, "Path Output", filter_, "input"), "Could not connect");
    EXPECT_EQ(manager.ConnectionCount(), 0u);
    EXPECT_FALSE(filter_->GetOutputByName("output")->IsConnected());
    EXPECT_FALSE(path->GetInputByName("Path In")->IsConnected());
}

TEST_F(ConnectionManagerTest, APadThatIsAlreadyConnectedIsRefused)
{
    auto other_source = MakeElement<CountingSource>(hub_, "source_1");
    auto other_sink = MakeElement<RecordingSink>(hub_, "sink_1");
    ConnectionManager manager(hub_);
    LinkSourceToSink(manager);

    const struct {
        const char* what;
        boost::shared_ptr<ElementBase> from;
        boost::shared_ptr<ElementBase> to;
    } cases[] = {{"taken input", other_source, sink_},
                 {"taken output", source_, other_sink},
                 {"both taken", source_, sink_}};
    for (const auto& c : cases) {
        bool success = true;
        EXPECT_EQ(Link(manager, c.from, "output", c.to, "input", &success), "A port is connected") << c.what;
        EXPECT_FALSE(success) << c.what;
        EXPECT_EQ(Link(manager, c.from, "output", c.to, "input"), "A port is connected") << c.what;
    }
    EXPECT_EQ(manager.ConnectionCount(), 1u);
    EXPECT_EQ(sink_->GetInputs().at(0)->peer_element_id.Get(), "source_0");
    EXPECT_EQ(source_->GetOutputs().at(0)->peer_element_id.Get(), "sink_0");
    EXPECT_FALSE(other_source->GetOutputs().at(0)->IsConnected());
    EXPECT_FALSE(other_sink->GetInputs().at(0)->IsConnected());
}

// Connectedness belongs to the pad, whatever ids the elements have.
TEST_F(ConnectionManagerTest, PadsOfElementsWithoutIdsAreConnectedOnce)
{
    auto source = MakeElement<CountingSource>(hub_, "");
    auto sink = MakeElement<RecordingSink>(hub_, "");
    ConnectionManager manager(hub_);
    ExpectConnected(Link(manager, source, "output", sink, "input"));
    EXPECT_TRUE(source->GetOutputs().at(0)->IsHeld());
    EXPECT_TRUE(sink->GetInputs().at(0)->IsHeld());
    EXPECT_EQ(Link(manager, source, "output", sink, "input"), "A port is connected");
    EXPECT_EQ(manager.ConnectionCount(), 1u);
    manager.DisconnectAll();
    EXPECT_FALSE(source->GetOutputs().at(0)->IsHeld());
    EXPECT_FALSE(sink->GetInputs().at(0)->IsHeld());
}

TEST_F(ConnectionManagerTest, DisconnectElementRemovesOnlyItsConnections)
{
    auto second_filter = MakeElement<PassThrough>(hub_, "filter_1");
    ConnectionManager manager(hub_);
    ExpectConnected(Link(manager, source_, "output", filter_, "input"));
    ExpectConnected(Link(manager, filter_, "output", second_filter, "input"));
    ExpectConnected(Link(manager, second_filter, "output", sink_, "input"));
    manager.StartAll();

    manager.DisconnectElement("Filter_0");  // ids match exactly
    EXPECT_EQ(manager.ConnectionCount(), 3u);
    manager.DisconnectElement("filter_0");
    EXPECT_EQ(manager.ConnectionCount(), 1u);
    EXPECT_FALSE(source_->GetOutputs().at(0)->IsConnected());
    EXPECT_FALSE(filter_->GetInputs().at(0)->IsConnected());
    EXPECT_FALSE(filter_->GetOutputs().at(0)->IsConnected());
    EXPECT_FALSE(second_filter->GetInputs().at(0)->IsConnected());
    EXPECT_TRUE(second_filter->GetOutputs().at(0)->IsConnected());
    EXPECT_TRUE(sink_->GetInputs().at(0)->IsConnected());
}

TEST_F(ConnectionManagerTest, DisconnectPairRemovesEveryLinkBetweenTheTwoInEitherDirection)
{
    auto other_filter = MakeElement<PassThrough>(hub_, "filter_1");
    auto pa = MakeElement<PathPadsElement>(hub_, "pa");
    auto pb = MakeElement<PathPadsElement>(hub_, "pb");
    ConnectionManager manager(hub_);
    ExpectConnected(Link(manager, filter_, "output", other_filter, "input"));
    ExpectConnected(Link(manager, other_filter, "output", filter_, "input"));
    ExpectConnected(Link(manager, pa, "Path Output", pb, "Path In"));
    ExpectConnected(Link(manager, pb, "Path Output", pa, "Path In"));

    manager.DisconnectPair("filter_0", "pb");  // not joined to each other
    EXPECT_EQ(manager.ConnectionCount(), 4u);
    manager.DisconnectPair("filter_1", "filter_0");
    EXPECT_EQ(manager.ConnectionCount(), 2u);
    EXPECT_FALSE(filter_->GetInputs().at(0)->IsConnected());
    EXPECT_FALSE(filter_->GetOutputs().at(0)->IsConnected());
    manager.DisconnectPair("pa", "pa");  // every connection of that element
    EXPECT_EQ(manager.ConnectionCount(), 0u);
}

// Extra inputs paced by an input listen for its connection going away.
TEST_F(ConnectionManagerTest, RemovingAConnectionTellsTheInputItFed)
{
    SinkBase& input = *sink_->GetInputs().at(0);
    int told = 0;
    bool connected_when_told = true;
    boost::signals2::scoped_connection listening = input.disconnected.connect([&] {
        ++told;
        connected_when_told = input.IsConnected();
    });
    ConnectionManager manager(hub_);
    LinkSourceToSink(manager);
    manager.StartAll();
    ASSERT_TRUE(WaitFor([&] { return sink_->count.load() >= 3; }));
    manager.StopAll();
    manager.StartAll();
    EXPECT_EQ(told, 0) << "stopping is no removal";
    manager.DisconnectPair("source_0", "sink_0");
    EXPECT_EQ(told, 1);
    EXPECT_FALSE(connected_when_told);
}

TEST_F(ConnectionManagerTest, EachElementGetsEachHookOncePerRequestHoweverOftenConnected)
{
    auto path = MakeElement<PathPadsElement>(hub_, "path_0");
    ConnectionManager manager(hub_);
    LinkSourceToSink(manager);
    // Refused, yet the path element is recorded.
    EXPECT_EQ(Link(manager, source_, "output", path, "Path In"), "A port is connected");
    for (int cycle = 0; cycle < 1000; ++cycle) {
        manager.DisconnectElement("source_0");
        LinkSourceToSink(manager);
    }

    manager.StartAll();
    EXPECT_EQ(source_->hooks.start.load(), 1);
    // The element once plus the pad of its one connection.
    EXPECT_EQ(source_->hooks.reset.load(), 2);
    manager.SetPaused(true);
    EXPECT_EQ(source_->hooks.pause.load(), 1);
    EXPECT_TRUE(manager.IsPaused());
    manager.StepAll();
    EXPECT_EQ(source_->hooks.step.load(), 1);
    manager.StopAll();
    EXPECT_EQ(source_->hooks.stop.load(), 1);
}

// Logs each hook it receives as "hook id" into a list shared with other elements.
class HookLoggingFilter : public PassThrough {
public:
    using PassThrough::PassThrough;
    void Start() override { Note("start"); }
    void Stop() override { Note("stop"); }
    void Pause(bool) override { Note("pause"); }
    void Step() override { Note("step"); }
    std::vector<std::string>* log = nullptr;

private:
    void Note(const std::string& hook) { log->push_back(hook + " " + GetId()); }
};

TEST_F(ConnectionManagerTest, HooksFollowTheOrderInWhichElementsWereFirstConnected)
{
    std::vector<std::string> log;
    std::vector<boost::shared_ptr<HookLoggingFilter>> filters;
    for (const char* id : {"a", "b", "c", "gone"}) {
        filters.push_back(MakeElement<HookLoggingFilter>(hub_, id));
        filters.back()->log = &log;
    }
    boost::shared_ptr<HookLoggingFilter> late;  // made once "gone" has gone
    ConnectionManager manager(hub_);
    const auto& a = filters[0];
    const auto& b = filters[1];
    const auto& c = filters[2];
    ExpectConnected(Link(manager, b, "output", filters[3], "input"));
    ExpectConnected(Link(manager, c, "output", a, "input"));
    ExpectConnected(Link(manager, a, "output", b, "input"));
    manager.DisconnectElement("gone");
    filters.pop_back();
    // An element made after one has gone is recorded afresh, wherever it lives.
    late = MakeElement<HookLoggingFilter>(hub_, "late");
    late->log = &log;
    ExpectConnected(Link(manager, b, "output", late, "input"));

    const struct {
        std::function<void()> request;
        const char* hook;
    } requests[] = {{[&] { manager.StartAll(); }, "start"},
                    {[&] { manager.SetPaused(true); }, "pause"},
                    {[&] { manager.StepAll(); }, "step"},
                    {[&] { manager.StopAll(); }, "stop"}};
    for (const auto& r : requests) {
        log.clear();
        r.request();
        const std::string hook = r.hook;
        const std::vector<std::string> expected = {hook + " b", hook + " c", hook + " a", hook + " late"};
        EXPECT_EQ(log, expected) << hook;
    }
}

TEST_F(ConnectionManagerTest, StartAllOnARunningPipelineStopsEveryThreadBeforeAnyReset)
{
    auto source = MakeElement<QueueSource>(hub_, "queue_source_0");
    ConnectionManager manager(hub_);
    ExpectConnected(Link(manager, source, "output", sink_, "input"));
    manager.StartAll();
    ASSERT_TRUE(WaitFor([&] { return source->inside_make_data.load(); }));

    const int resets_before = source->resets.load();
    manager.StartAll();
    EXPECT_GT(source->resets.load(), resets_before);
    EXPECT_EQ(source->resets_while_running.load(), 0);
    // Still running after the restart.
    ASSERT_TRUE(WaitFor([&] { return source->inside_make_data.load(); }));
    source->queue.Push(testsupport::NumberedFrame(0));
    ASSERT_TRUE(WaitFor([&] { return sink_->count.load() == 1; }));
}

TEST_F(ConnectionManagerTest, StepAllPausesARunningPipelineAndARestartKeepsItPaused)
{
    ConnectionManager manager(hub_);
    LinkChain(manager);
    manager.StartAll();
    ASSERT_TRUE(WaitFor([&] { return sink_->count.load() >= 5; }));

    manager.StepAll();
    EXPECT_TRUE(manager.IsPaused());
    manager.StopAll();
    manager.StartAll();
    EXPECT_TRUE(manager.IsPaused());
    // Held after the restart: steps move it on, play lets it run freely again.
    manager.StepAll();
    const auto sink_pad = sink_->GetInputs().at(0);
    const long long held = sink_pad->frame_count.Get();
    manager.StepAll();
    ASSERT_TRUE(WaitFor([&] { return sink_pad->frame_count.Get() >= held + 1; }));
    manager.SetPaused(false);
    EXPECT_FALSE(manager.IsPaused());
    ASSERT_TRUE(WaitFor([&] { return sink_pad->frame_count.Get() >= held + 20; }));
}

TEST_F(ConnectionManagerTest, DisconnectAllEmptiesThePipelineAndClearsThePause)
{
    ConnectionManager manager(hub_);
    LinkSourceToSink(manager);
    manager.StartAll();
    manager.SetPaused(true);
    manager.DisconnectAll();
    EXPECT_EQ(manager.ConnectionCount(), 0u);
    EXPECT_FALSE(manager.IsPaused());
    EXPECT_FALSE(sink_->GetInputs().at(0)->IsConnected());
    // The element records stay.
    manager.StartAll();
    EXPECT_EQ(source_->hooks.start.load(), 2);
}

TEST_F(ConnectionManagerTest, DestroyingTheManagerStopsAndRemovesRunningConnections)
{
    {
        ConnectionManager manager(hub_);
        LinkChain(manager);
        manager.StartAll();
        ASSERT_TRUE(WaitFor([&] { return sink_->count.load() >= 5; }));
        manager.SetPaused(true);
    }
    EXPECT_FALSE(source_->GetOutputs().at(0)->IsConnected());
    EXPECT_FALSE(sink_->GetInputs().at(0)->IsConnected());
    EXPECT_EQ(source_->hooks.stop.load(), 1);
}

TEST_F(ConnectionManagerTest, LogAllReportsEveryConnection)
{
    ConnectionManager manager(hub_);
    LinkChain(manager);
    LogCapture capture;
    manager.LogAll();
    const std::string log = capture.Text();
    EXPECT_NE(log.find("Connection : source_0->filter_0\n"), std::string::npos) << log;
    EXPECT_NE(log.find("Connection : filter_0->sink_0\n"), std::string::npos) << log;
}
