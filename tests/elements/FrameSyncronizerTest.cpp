// "Frame Syncronizer": frames are handed to both inputs and taken from both
// outputs the way their connections would. Input 1's feeder runs on a thread
// of its own where its one-slot queue makes it wait for input 0.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "TeeBranch.h"
#include "core/ControlAndStatus.h"
#include "elements/FrameSyncronizer.h"
#include "support/FrameMaker.h"
#include "support/TestSupport.h"

using testsupport::WaitFor;

namespace {

using testsupport::NumberedFrame;

using NumberPair = std::pair<std::int64_t, std::int64_t>;

class FrameSyncronizerTest : public ::testing::Test {
protected:
    FrameSyncronizerTest()
    {
        input_1 = boost::dynamic_pointer_cast<BoltOnSink<VideoFrame>>(element.GetInputByName("input 1"));
        output_0 = boost::dynamic_pointer_cast<BoltOnSource<VideoFrame>>(element.GetOutputByName("Output 0"));
        output_1 = boost::dynamic_pointer_cast<BoltOnSource<VideoFrame>>(element.GetOutputByName("Output 1"));
    }

    void ConnectAll()
    {
        element.GetInputByName("input 0")->peer_element_id.Set("Camera_0");
        input_1->peer_element_id.Set("Video Read_0");
        output_0->peer_element_id.Set("Blur_0");
        output_1->peer_element_id.Set("Blur_1");
    }

    // Input 1's frame waits in its slot; input 0's arrival takes it and pairs.
    void Feed(std::int64_t number_0, std::int64_t number_1)
    {
        input_1->PassData(NumberedFrame(number_1));
        element.PassData(NumberedFrame(number_0));
    }

    // Every pair waiting on the outputs.
    std::vector<NumberPair> TakePairs()
    {
        std::vector<NumberPair> pairs;
        while (output_0->queue.Count() > 0) {
            const std::int64_t first = output_0->GetData().data->frame_number;
            pairs.emplace_back(first, output_1->GetData().data->frame_number);
        }
        return pairs;
    }

    boost::shared_ptr<ControlAndStatus> hub = boost::make_shared<ControlAndStatus>();
    FrameSyncronizer element{hub};
    boost::shared_ptr<BoltOnSink<VideoFrame>> input_1;
    boost::shared_ptr<BoltOnSource<VideoFrame>> output_0;
    boost::shared_ptr<BoltOnSource<VideoFrame>> output_1;
};

TEST_F(FrameSyncronizerTest, PadsAndSettingsAreThoseOfTheCatalogue)
{
    ASSERT_TRUE(input_1);
    ASSERT_TRUE(output_0);
    ASSERT_TRUE(output_1);
    const auto inputs = element.GetInputs();
    const auto outputs = element.GetOutputs();
    ASSERT_EQ(2u, inputs.size());
    ASSERT_EQ(2u, outputs.size());
    EXPECT_EQ("input 0", inputs[0]->pad_name.Get());
    EXPECT_EQ("Output 0", outputs[0]->pad_name.Get());
    EXPECT_EQ("Output 1", outputs[1]->pad_name.Get());

    const std::vector<ParameterItem> items = element.settings.GetItems();
    ASSERT_GE(items.size(), 2u);
    EXPECT_EQ("_buffers", items[items.size() - 2].name);
    EXPECT_EQ("type=label", items[items.size() - 2].descriptor);
    EXPECT_EQ("_syncronize_by", items.back().name);
    EXPECT_EQ("items=[Frame number]", items.back().descriptor);
    EXPECT_EQ("", element.settings.GetValueAsString("_buffers"));
    EXPECT_EQ("0", element.settings.GetValueAsString("_syncronize_by"));
}

TEST_F(FrameSyncronizerTest, PairsCarryTheMatchedFramesThemselves)
{
    ConnectAll();
    const PassableItem<VideoFrame> a = NumberedFrame(4);
    const PassableItem<VideoFrame> b = NumberedFrame(4);
    input_1->PassData(b);
    element.PassData(a);
    EXPECT_EQ(a.data, output_0->GetData().data);
    EXPECT_EQ(b.data, output_1->GetData().data);
}

TEST_F(FrameSyncronizerTest, WhichFramesArePaired)
{
    const struct {
        const char* name;
        std::vector<NumberPair> fed;  // (input 0, input 1), one arrival each
        std::vector<NumberPair> emitted;
    } cases[] = {
        {"in step", {{0, 0}, {1, 1}, {2, 2}}, {{0, 0}, {1, 1}, {2, 2}}},
        {"never coincide", {{0, 1}, {2, 3}, {4, 5}}, {}},
        // Input 0 lags by one: each arrival meets the partner that came earlier.
        {"input 0 lags", {{0, 1}, {1, 2}, {2, 3}}, {{1, 1}, {2, 2}}},
        // The older unmatched frames are passed over and discarded.
        {"catch up", {{5, 0}, {6, 1}, {7, 5}}, {{5, 5}}},
    };
    for (const auto& c : cases) {
        element.Reset();
        ConnectAll();
        std::vector<NumberPair> emitted;
        for (const NumberPair& fed : c.fed) {
            Feed(fed.first, fed.second);
            for (const NumberPair& pair : TakePairs())
                emitted.push_back(pair);
        }
        EXPECT_EQ(c.emitted, emitted) << c.name;
        EXPECT_EQ(0, input_1->queue.Count()) << c.name;
    }
}

// The counts are taken while the pair is still buffered, so they include it.
TEST_F(FrameSyncronizerTest, StatusShowsTheBuffersOfTheLastPair)
{
    ConnectAll();
    Feed(0, 0);
    TakePairs();
    EXPECT_EQ("Buffer 0 : 1\nBuffer 1 : 1", element.settings.GetValueAsString("_buffers"));
    // Frame 1 of input 0 waits unmatched beside frame 2, which pairs.
    Feed(1, 2);
    Feed(2, 3);
    EXPECT_EQ(1u, TakePairs().size());
    EXPECT_EQ("Buffer 0 : 2\nBuffer 1 : 2", element.settings.GetValueAsString("_buffers"));
}

TEST_F(FrameSyncronizerTest, AnotherRuleThanFrameNumberNeverMatches)
{
    ConnectAll();
    element.settings.SetValue("_syncronize_by", "1", "");
    Feed(0, 0);
    Feed(1, 1);
    EXPECT_TRUE(TakePairs().empty());
}

TEST_F(FrameSyncronizerTest, UnconnectedOutputsDropPairsWithoutWaiting)
{
    ConnectAll();
    output_0->peer_element_id.Set("");
    output_1->peer_element_id.Set("");
    for (std::int64_t n = 0; n < 3; ++n)
        Feed(n, n);
    EXPECT_EQ(0, output_0->queue.Count());
    EXPECT_EQ(0, output_1->queue.Count());
}

// Two streams starting at 0 and advancing together, input 1 fed by its own
// connection thread, which waits in its one-slot queue for input 0's arrivals.
// An arrival may take more than one waiting frame of input 1; the pairs stay
// frame by frame.
TEST_F(FrameSyncronizerTest, StreamsAdvancingTogetherArePairedFrameByFrame)
{
    ConnectAll();
    const int frames = 20;
    std::atomic<int> fed{0};
    std::thread second_stream([&] {
        try {
            for (int n = 0; n < frames; ++n) {
                input_1->PassData(NumberedFrame(n));
                ++fed;
            }
        } catch (...) {
            // The queue was shut down after a failed expectation.
        }
    });
    std::vector<NumberPair> emitted;
    bool in_time = true;
    for (int n = 0; n < frames && in_time; ++n) {
        in_time = WaitFor([&] { return fed.load() > n; });
        element.PassData(NumberedFrame(n));
        for (const NumberPair& pair : TakePairs())
            emitted.push_back(pair);
    }
    if (!in_time)
        input_1->queue.Shutdown();
    second_stream.join();
    EXPECT_TRUE(in_time);
    ASSERT_EQ(static_cast<std::size_t>(frames), emitted.size());
    for (int n = 0; n < frames; ++n)
        EXPECT_EQ(NumberPair(n, n), emitted[n]);
}

// Wiring "input 1" first, or deleting the feed of "input 0", must not stop the whole pipeline.
TEST(FrameSyncronizerPipelineTest, ALoneInput1LetsTheRestOfThePipelineRun)
{
    teebranch::ExpectALoneExtraInputLetsTheTeeRun<FrameSyncronizer>(
        "Frame Syncronizer_0", "input 0",
        [](teebranch::TeeBranch& pipeline, const boost::shared_ptr<FrameSyncronizer>& sync) {
            pipeline.Connect(pipeline.tee, "cloned output 0", sync, "input 1");
        });
}

}  // namespace
