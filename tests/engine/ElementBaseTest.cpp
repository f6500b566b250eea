#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include <boost/make_shared.hpp>
#include <boost/thread/condition_variable.hpp>
#include <boost/thread/mutex.hpp>

#include "core/ControlAndStatus.h"
#include "core/VideoFrame.h"
#include "core/PathContainer.h"
#include "engine/ElementBase.h"
#include "engine/MakeUnownedPtr.h"
#include "engine/Sink.h"
#include "engine/Source.h"
#include "support/TestSupport.h"

using testsupport::WaitFor;

namespace {

class VideoOut : public Source<VideoFrame> {
public:
    PassableItem<VideoFrame> GetData() override { return PassableItem<VideoFrame>(); }
};

class VideoIn : public Sink<VideoFrame> {
public:
    void PassData(PassableItem<VideoFrame>) override {}
};

class PathOut : public Source<PathContainer> {
public:
    PassableItem<PathContainer> GetData() override { return PassableItem<PathContainer>(); }
};

// An element whose pads are members, listed in the order the test asks for.
class PadElement : public ElementBase {
public:
    explicit PadElement(boost::shared_ptr<ControlAndStatus> hub) : ElementBase(hub) {}

    void AddIn(const std::string& name)
    {
        ins_.push_back(boost::make_shared<VideoIn>());
        AddInput(ins_.back(), name);
    }
    void AddOut(const std::string& name)
    {
        outs_.push_back(boost::make_shared<VideoOut>());
        AddOutput(outs_.back(), name);
    }

    void SettingsSignalled() override { settings_calls++; }

    std::atomic<int> settings_calls{0};

private:
    std::vector<boost::shared_ptr<VideoIn>> ins_;
    std::vector<boost::shared_ptr<VideoOut>> outs_;
};

class ElementBaseTest : public ::testing::Test {
protected:
    boost::shared_ptr<ControlAndStatus> hub = boost::make_shared<ControlAndStatus>();
};

std::vector<std::string> Names(const std::vector<boost::shared_ptr<PadBase>>& pads)
{
    std::vector<std::string> names;
    for (const auto& pad : pads)
        names.push_back(pad->pad_name.Get());
    return names;
}

}  // namespace

TEST_F(ElementBaseTest, UnnamedPadsCountEveryEarlierPadOfTheirDirection)
{
    struct Case {
        std::vector<std::string> given;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {{""}, {"Input 0"}},
        {{"input", ""}, {"input", "Input 1"}},
        {{"", "", "x", ""}, {"Input 0", "Input 1", "x", "Input 3"}},
    };
    for (const Case& c : cases) {
        PadElement element(hub);
        for (const std::string& name : c.given)
            element.AddIn(name);
        std::vector<std::string> names;
        for (const auto& pad : element.GetInputs())
            names.push_back(pad->pad_name.Get());
        EXPECT_EQ(names, c.expected);
    }

    PadElement outputs(hub);
    outputs.AddIn("");
    outputs.AddOut("");
    outputs.AddOut("");
    EXPECT_EQ(Names(outputs.GetAllPads()), (std::vector<std::string>{"Output 0", "Output 1", "Input 0"}));
}

TEST_F(ElementBaseTest, AllPadsListOutputsThenInputs)
{
    PadElement element(hub);
    element.AddIn("C");
    element.AddOut("A");
    element.AddOut("B");
    EXPECT_EQ(Names(element.GetAllPads()), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(element.GetOutputs().size(), 2u);
    EXPECT_EQ(element.GetInputs().size(), 1u);
}

TEST(PadTest, TypeTextFollowsThePayload)
{
    VideoOut video_out;
    VideoIn video_in;
    PathOut path_out;
    EXPECT_EQ(video_out.GetTypeName(), "2D Info");
    EXPECT_EQ(video_in.GetTypeName(), "2D Info");
    EXPECT_EQ(path_out.GetTypeName(), "Path");
    EXPECT_FALSE(video_in.IsConnected());
    EXPECT_EQ(video_in.frame_count.Get(), 0);
}

TEST_F(ElementBaseTest, NullPadIsSkipped)
{
    PadElement element(hub);
    element.AddInput(boost::shared_ptr<SinkBase>(), "a");
    element.AddOutput(boost::shared_ptr<SourceBase>(), "b");
    element.AddIn("");
    EXPECT_TRUE(element.GetOutputs().empty());
    ASSERT_EQ(element.GetInputs().size(), 1u);
    EXPECT_EQ(element.GetInputs()[0]->pad_name.Get(), "Input 0");
}

TEST_F(ElementBaseTest, LookupByNameIsExactAndFindsTheFirst)
{
    PadElement element(hub);
    element.AddIn("twin");
    element.AddIn("twin");
    element.AddOut("out");
    EXPECT_EQ(element.GetInputByName("twin"), element.GetInputs()[0]);
    EXPECT_EQ(element.GetOutputByName("out"), element.GetOutputs()[0]);

    for (const std::string missing : {"Twin", "twin ", "", "out"}) {
        try {
            element.GetInputByName(missing);
            ADD_FAILURE() << "found input " << missing;
        } catch (int code) {
            EXPECT_EQ(code, 0);
        }
    }
    EXPECT_THROW(element.GetOutputByName("twin"), int);
}

TEST_F(ElementBaseTest, SetIdStampsEveryPadAndALaterIdOverwrites)
{
    PadElement element(hub);
    element.AddIn("in");
    element.AddOut("out");
    for (const auto& pad : element.GetAllPads())
        EXPECT_EQ(pad->owner_element_id.Get(), "");

    element.SetId("Blur_0");
    element.SetId("Blur_1");
    EXPECT_EQ(element.GetId(), "Blur_1");
    for (const auto& pad : element.GetAllPads())
        EXPECT_EQ(pad->owner_element_id.Get(), "Blur_1");
}

TEST_F(ElementBaseTest, PadJoinedToAnElementWithoutIdReadsAsNotConnected)
{
    PadElement element(hub);
    element.AddOut("out");
    VideoIn peer;
    // What a connection does: the peer id is the other pad's owner id.
    peer.peer_element_id = element.GetOutputs()[0]->owner_element_id;
    EXPECT_FALSE(peer.IsConnected());
    element.SetId("Tee_0");
    peer.peer_element_id = element.GetOutputs()[0]->owner_element_id;
    EXPECT_TRUE(peer.IsConnected());
}

TEST_F(ElementBaseTest, TypeRenamesTheSettingsObjectAndPositionsAreHiddenSettings)
{
    PadElement element(hub);
    EXPECT_EQ(element.settings.GetValueAsString("_setting_name"), "un_named");
    element.SetType("Blur");
    element.SetDescription("Blurs");
    element.category.Set("Filters");
    EXPECT_EQ(element.GetType(), "Blur");
    EXPECT_EQ(element.GetDescription(), "Blurs");
    EXPECT_EQ(element.settings.GetValueAsString("_setting_name"), "Blur");
    EXPECT_EQ(element.controls->settings.GetValueAsString("_setting_name"), "No Controls");

    const auto items = element.settings.GetItems();
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[2].name, "_position_x");
    EXPECT_EQ(items[3].name, "_position_y");
    EXPECT_EQ(items[2].descriptor, "type=hidden");
    EXPECT_EQ(items[3].descriptor, "type=hidden");

    element.settings.SetValue("_position_x", "120", "");
    element.settings.SetValue("_position_y", "-40", "");
    EXPECT_EQ(element.position_x.Get(), 120);
    EXPECT_EQ(element.position_y.Get(), -40);
}

TEST_F(ElementBaseTest, LayoutUpdateRequestRaisesTheFlag)
{
    PadElement element(hub);
    EXPECT_FALSE(element.layout_update_requested.Get());
    element.RequestLayoutUpdate();
    EXPECT_TRUE(element.layout_update_requested.Get());
}

TEST_F(ElementBaseTest, SettingsSignalReachesTheDerivedHandlerUntilDestroyed)
{
    auto element = boost::make_shared<PadElement>(hub);
    element->settings_changed_signal();
    element->settings_changed_signal();
    EXPECT_EQ(element->settings_calls.load(), 2);
}

TEST(MakeUnownedPtrTest, NeverDeletesNorKeepsAlive)
{
    struct Counted {
        explicit Counted(int* deaths) : deaths_(deaths) {}
        ~Counted() { ++*deaths_; }
        int* deaths_;
    };
    int deaths = 0;
    {
        Counted target(&deaths);
        boost::shared_ptr<Counted> first = MakeUnownedPtr(&target);
        boost::shared_ptr<Counted> copy = first;
        EXPECT_EQ(copy.get(), &target);
        first.reset();
        copy.reset();
        EXPECT_EQ(deaths, 0);
    }
    EXPECT_EQ(deaths, 1);
}

// ---- The one-second tick and concurrent destruction ----

namespace {

// Records the order of events seen by the test.
struct TickLog {
    boost::mutex mutex;  // guards the fields below
    boost::condition_variable changed;
    bool entered = false;
    bool release = false;
    bool destructor_entered = false;
    bool destroyed = false;
    int ticks = 0;
    std::vector<std::string> events;

    void Mark(bool TickLog::*flag, const std::string& event)
    {
        boost::lock_guard<boost::mutex> lock(mutex);
        this->*flag = true;
        events.push_back(event);
        changed.notify_all();
    }
    bool Is(bool TickLog::*flag)
    {
        boost::lock_guard<boost::mutex> lock(mutex);
        return this->*flag;
    }
};

// Its tick blocks until released, so the test can destroy it mid-call.
class TickingElement : public ElementBase {
public:
    TickingElement(boost::shared_ptr<ControlAndStatus> hub, TickLog* log, bool block)
        : ElementBase(hub), log_(log), block_(block)
    {
        StartOneSecondTicks();
    }
    ~TickingElement() override
    {
        log_->Mark(&TickLog::destructor_entered, "destructor entered");
        StopOneSecondTicks();
        alive_ = false;
        log_->Mark(&TickLog::destroyed, "destroyed");
    }

    void OnOneSecondTick() override
    {
        {
            boost::lock_guard<boost::mutex> lock(log_->mutex);
            log_->ticks++;
        }
        if (!block_)
            return;
        log_->Mark(&TickLog::entered, "tick entered");
        boost::unique_lock<boost::mutex> lock(log_->mutex);
        while (!log_->release)
            log_->changed.wait(lock);
        log_->events.push_back(alive_ ? "tick end on live element" : "tick end on dead element");
    }

private:
    TickLog* log_;
    bool block_;
    bool alive_ = true;
};

class PlainElement : public ElementBase {
public:
    explicit PlainElement(boost::shared_ptr<ControlAndStatus> hub) : ElementBase(hub) {}
};

}  // namespace

TEST_F(ElementBaseTest, TicksReachTheDerivedHandlerOnlyWhileStarted)
{
    TickLog log;
    TickingElement element(hub, &log, false);
    hub->tick_signal();
    hub->tick_signal();
    EXPECT_EQ(log.ticks, 2);
    element.StopOneSecondTicks();
    hub->tick_signal();
    EXPECT_EQ(log.ticks, 2);
    element.StartOneSecondTicks();
    hub->tick_signal();
    EXPECT_EQ(log.ticks, 3);
}

TEST_F(ElementBaseTest, DestructionWaitsForARunningTickAndBlocksLaterOnes)
{
    TickLog log;
    auto* element = new TickingElement(hub, &log, true);

    std::thread ticker([this] { hub->tick_signal(); });
    ASSERT_TRUE(WaitFor([&] { return log.Is(&TickLog::entered); }));

    std::thread destroyer([element] { delete element; });
    ASSERT_TRUE(WaitFor([&] { return log.Is(&TickLog::destructor_entered); }));
    // The destructor must stay blocked while the tick runs.
    EXPECT_FALSE(WaitFor([&] { return log.Is(&TickLog::destroyed); }, std::chrono::milliseconds(100)));

    log.Mark(&TickLog::release, "released");
    ticker.join();
    destroyer.join();

    EXPECT_EQ(log.events, (std::vector<std::string>{"tick entered", "destructor entered", "released",
                                                    "tick end on live element", "destroyed"}));
    // No tick reaches the element once it is gone.
    hub->tick_signal();
    EXPECT_EQ(log.ticks, 1);
}

TEST_F(ElementBaseTest, TicksWhileElementsComeAndGoOnAnotherThread)
{
    std::atomic<bool> done{false};
    std::thread ticker([&] {
        while (!done)
            hub->tick_signal();
    });
    TickLog log;
    for (int i = 0; i < 300; ++i) {
        TickingElement ticking(hub, &log, false);
        PlainElement plain(hub);
    }
    done = true;
    ticker.join();
    // Every element left the tick signal as it went: a later tick reaches none.
    EXPECT_TRUE(hub->tick_signal.empty());
    const int ticks = log.ticks;
    hub->tick_signal();
    EXPECT_EQ(log.ticks, ticks);
}
