#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <boost/make_shared.hpp>
#include <boost/thread/lock_guard.hpp>
#include <boost/thread/mutex.hpp>
#include <opencv2/imgproc.hpp>

#include "core/ControlAndStatus.h"
#include "core/VideoFrame.h"
#include "engine/ElementFilter.h"
#include "engine/ElementInput.h"
#include "engine/ElementOutput.h"
#include "engine/FakeSink.h"
#include "support/FrameMaker.h"
#include "support/LogCapture.h"
#include "support/TestSupport.h"

using testsupport::WaitFor;

namespace {

PassableItem<VideoFrame> MakeFrame(std::int64_t number, int width = 8, int height = 6)
{
    return testsupport::MakeFrame(cv::Mat(height, width, CV_8UC1, cv::Scalar(10)), number);
}

// Records its hooks and adds 1 to every pixel in place.
class RecordingFilter : public ElementFilter<VideoFrame> {
public:
    explicit RecordingFilter(boost::shared_ptr<ControlAndStatus> hub) : ElementFilter<VideoFrame>(hub) {}

    void FirstItem(PassableItem<VideoFrame> item) override { Record("first " + Number(item)); }
    void SettingsChanged() override { Record("settings"); }
    PassableItem<VideoFrame> Process(PassableItem<VideoFrame> item) override
    {
        Record("process " + Number(item));
        if (throw_next.exchange(false))
            throw std::runtime_error("process failed");
        item.data->image += 1;
        return return_invalid ? PassableItem<VideoFrame>() : item;
    }

    std::vector<std::string> Calls()
    {
        boost::lock_guard<boost::mutex> lock(calls_mutex_);
        return calls_;
    }
    int Queued() { return output_queue.Count(); }
    PreviewControls& Preview() { return preview_controls; }
    void ConnectOutput() { Source<VideoFrame>::peer_element_id.Set("downstream"); }

    std::atomic<bool> throw_next{false};
    bool return_invalid = false;

private:
    static std::string Number(const PassableItem<VideoFrame>& item)
    {
        return std::to_string(item.data->frame_number);
    }
    void Record(const std::string& call)
    {
        boost::lock_guard<boost::mutex> lock(calls_mutex_);
        calls_.push_back(call);
    }

    boost::mutex calls_mutex_;  // guards calls_
    std::vector<std::string> calls_;
};

// Edge detection, which OpenCV does on 8-bit frames only; it refuses empty ones too.
class EdgeFilter : public ElementFilter<VideoFrame> {
public:
    explicit EdgeFilter(boost::shared_ptr<ControlAndStatus> hub) : ElementFilter<VideoFrame>(hub) {}
    PassableItem<VideoFrame> Process(PassableItem<VideoFrame> item) override
    {
        CV_Assert(!item.data->image.empty());
        cv::Canny(item.data->image, item.data->image, 10.0, 20.0);
        return item;
    }
    PreviewControls& Preview() { return preview_controls; }
};

class CountingOutput : public ElementOutput<VideoFrame> {
public:
    explicit CountingOutput(boost::shared_ptr<ControlAndStatus> hub) : ElementOutput<VideoFrame>(hub) {}
    PassableItem<VideoFrame> MakeData() override
    {
        // Every other call has nothing to give.
        return (made_++ % 2 == 0) ? MakeFrame(made_) : PassableItem<VideoFrame>();
    }

private:
    int made_ = 0;
};

class CollectingInput : public ElementInput<VideoFrame> {
public:
    explicit CollectingInput(boost::shared_ptr<ControlAndStatus> hub) : ElementInput<VideoFrame>(hub) {}
    void ConsumeData(PassableItem<VideoFrame> item) override { consumed.push_back(item.data->frame_number); }
    std::vector<std::int64_t> consumed;
};

class ElementFilterTest : public ::testing::Test {
protected:
    boost::shared_ptr<ControlAndStatus> hub = boost::make_shared<ControlAndStatus>();
};

}  // namespace

TEST_F(ElementFilterTest, PadsAndPreviewSettingAreRegistered)
{
    RecordingFilter filter(hub);
    ASSERT_EQ(filter.GetInputs().size(), 1u);
    ASSERT_EQ(filter.GetOutputs().size(), 1u);
    EXPECT_EQ(filter.GetInputs()[0]->pad_name.Get(), "input");
    EXPECT_EQ(filter.GetOutputs()[0]->pad_name.Get(), "output");
    EXPECT_EQ(filter.GetInputs()[0]->GetTypeName(), "2D Info");
    EXPECT_EQ(filter.GetInputByName("input").get(), static_cast<SinkBase*>(&filter));
    EXPECT_EQ(filter.GetOutputByName("output").get(), static_cast<SourceBase*>(&filter));
    EXPECT_EQ(filter.settings.FindItem("_preview_controls").descriptor, "");
}

TEST_F(ElementFilterTest, HooksRunInOrderAndSettingsOnlyAfterAChange)
{
    RecordingFilter filter(hub);
    filter.PassData(MakeFrame(1));
    filter.PassData(MakeFrame(2));
    filter.settings_changed_flag.Set(true);
    filter.PassData(MakeFrame(3));
    EXPECT_EQ(filter.Calls(), (std::vector<std::string>{"first 1", "settings", "process 1", "process 2",
                                                        "settings", "process 3"}));
    EXPECT_FALSE(filter.settings_changed_flag.Get());
}

TEST_F(ElementFilterTest, UnconnectedOutputProcessesAndQueuesNothing)
{
    RecordingFilter filter(hub);
    for (int i = 1; i <= 3; ++i)
        filter.PassData(MakeFrame(i));
    EXPECT_EQ(filter.Queued(), 0);
    EXPECT_EQ(filter.Calls().size(), 5u);
}

TEST_F(ElementFilterTest, ConnectedOutputQueuesTheProcessedPayload)
{
    RecordingFilter filter(hub);
    filter.ConnectOutput();
    PassableItem<VideoFrame> item = MakeFrame(7);
    filter.PassData(item);
    PassableItem<VideoFrame> out = filter.GetData();
    EXPECT_EQ(out.data, item.data);  // shared, not copied
    EXPECT_EQ(out.data->image.at<uchar>(0, 0), 11);
}

TEST_F(ElementFilterTest, FullOutputQueueHoldsTheUpstreamBack)
{
    RecordingFilter filter(hub);
    filter.ConnectOutput();
    filter.PassData(MakeFrame(1));

    std::atomic<bool> second_done{false};
    std::thread upstream([&] {
        filter.PassData(MakeFrame(2));
        second_done = true;
    });
    // Processing happens at once; only the hand-over waits.
    ASSERT_TRUE(WaitFor([&] { return filter.Calls().size() == 4u; }));
    EXPECT_FALSE(WaitFor([&] { return second_done.load(); }, std::chrono::milliseconds(100)));

    EXPECT_EQ(filter.GetData().data->frame_number, 1);
    ASSERT_TRUE(WaitFor([&] { return second_done.load(); }));
    upstream.join();
    EXPECT_EQ(filter.GetData().data->frame_number, 2);
}

TEST_F(ElementFilterTest, QueuedItemSurvivesAPadReset)
{
    RecordingFilter filter(hub);
    filter.ConnectOutput();
    filter.PassData(MakeFrame(5));
    static_cast<Source<VideoFrame>&>(filter).Reset();
    static_cast<Sink<VideoFrame>&>(filter).Reset();
    static_cast<ElementBase&>(filter).Reset();
    EXPECT_EQ(filter.GetData().data->frame_number, 5);
}

TEST_F(ElementFilterTest, ThrowingProcessLosesTheItemAndKeepsTheFlags)
{
    RecordingFilter filter(hub);
    filter.ConnectOutput();
    filter.throw_next = true;
    EXPECT_THROW(filter.PassData(MakeFrame(1)), std::runtime_error);
    EXPECT_EQ(filter.Queued(), 0);
    filter.PassData(MakeFrame(2));
    EXPECT_EQ(filter.Calls(), (std::vector<std::string>{"first 1", "settings", "process 1", "process 2"}));
    EXPECT_EQ(filter.Queued(), 1);
}

// The connection drops a frame that OpenCV refuses without a word: the element names the
// frame's type once, and stays quiet about empty frames (a file not read).
TEST_F(ElementFilterTest, FramesOpenCvRefusesAreNamedOnceATypeWithTheElement)
{
    EdgeFilter filter(hub);
    filter.SetId("Edges_0");
    LogCapture log;
    for (int type : {CV_16UC4, CV_16UC4, CV_8UC1, CV_32FC2, CV_16UC4}) {
        PassableItem<VideoFrame> frame = testsupport::MakeFrame(cv::Mat(6, 8, type, cv::Scalar::all(1)));
        if (type == CV_8UC1)
            EXPECT_NO_THROW(filter.PassData(frame));
        else
            EXPECT_THROW(filter.PassData(frame), cv::Exception) << type;
    }
    EXPECT_THROW(filter.PassData(testsupport::MakeFrame()), cv::Exception);
    std::vector<std::string> refusals;
    for (const std::string& line : log.Messages()) {
        if (line.find("cannot work on") != std::string::npos)
            refusals.push_back(line.substr(0, line.find(':')));
    }
    EXPECT_EQ(refusals, (std::vector<std::string>{"Edges_0 cannot work on frames of type CV_16UC4",
                                                  "Edges_0 cannot work on frames of type CV_32FC2"}));
}

TEST_F(ElementFilterTest, RequestedPreviewIsRescaledAndResizesTheNode)
{
    RecordingFilter filter(hub);
    filter.Preview().RequestPreview(32);
    filter.PassData(MakeFrame(1, 64, 48));
    ASSERT_TRUE(WaitFor([&] { return filter.Preview().IsImageReady(); }));
    boost::shared_ptr<QImage> image = filter.Preview().GetImage();
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width(), 32);
    EXPECT_EQ(image->height(), 24);
    EXPECT_TRUE(filter.layout_update_requested.Get());

    // Same size again: no further layout update.
    filter.layout_update_requested.Set(false);
    filter.Preview().RequestPreview(32);
    filter.PassData(MakeFrame(2, 64, 48));
    ASSERT_TRUE(WaitFor([&] { return filter.Preview().IsImageReady(); }));
    EXPECT_FALSE(filter.layout_update_requested.Get());
}

// The preview of a refused frame is blank, not the result of the frame before it.
TEST_F(ElementFilterTest, RefusedFrameBlanksThePreview)
{
    EdgeFilter filter(hub);
    const auto lit_pixels = [&filter] {
        EXPECT_TRUE(WaitFor([&] { return filter.Preview().IsImageReady(); }));
        boost::shared_ptr<QImage> image = filter.Preview().GetImage();
        int lit = 0;
        for (int y = 0; image && y < image->height(); ++y) {
            for (int x = 0; x < image->width(); ++x)
                lit += image->pixel(x, y) == qRgb(0, 0, 0) ? 0 : 1;
        }
        return image ? lit : -1;
    };
    cv::Mat step(24, 32, CV_8UC1, cv::Scalar(0));
    step.colRange(16, 32).setTo(200);
    filter.Preview().RequestPreview(32);
    filter.PassData(testsupport::MakeFrame(step));
    EXPECT_GT(lit_pixels(), 0);

    filter.Preview().RequestPreview(32);
    EXPECT_THROW(filter.PassData(testsupport::MakeFrame(cv::Mat(48, 64, CV_32FC2, cv::Scalar::all(1)))),
                 cv::Exception);
    EXPECT_EQ(lit_pixels(), 0);
    EXPECT_EQ(filter.Preview().GetImageSize(), cv::Size(64, 48));
}

TEST_F(ElementFilterTest, InvalidResultOffersNoPreview)
{
    RecordingFilter filter(hub);
    filter.return_invalid = true;
    filter.Preview().RequestPreview(32);
    filter.PassData(MakeFrame(1, 64, 48));
    EXPECT_TRUE(filter.Preview().IsPreviewWanted());
    EXPECT_FALSE(filter.layout_update_requested.Get());
}

TEST_F(ElementFilterTest, OutputElementMakesItemsOnDemand)
{
    CountingOutput output(hub);
    ASSERT_EQ(output.GetOutputs().size(), 1u);
    EXPECT_TRUE(output.GetInputs().empty());
    EXPECT_EQ(output.GetOutputs()[0]->pad_name.Get(), "output");
    EXPECT_TRUE(output.GetData().IsValid());
    EXPECT_FALSE(output.GetData().IsValid());
    EXPECT_TRUE(output.GetData().IsValid());
}

TEST_F(ElementFilterTest, InputElementConsumesAndFakeSinkDrops)
{
    CollectingInput input(hub);
    ASSERT_EQ(input.GetInputs().size(), 1u);
    EXPECT_EQ(input.GetInputs()[0]->pad_name.Get(), "input");
    input.PassData(MakeFrame(3));
    input.PassData(MakeFrame(4));
    EXPECT_EQ(input.consumed, (std::vector<std::int64_t>{3, 4}));

    FakeSink<VideoFrame> sink(hub);
    ASSERT_EQ(sink.GetInputs().size(), 1u);
    EXPECT_EQ(sink.GetInputs()[0]->pad_name.Get(), "input");
    PassableItem<VideoFrame> item = MakeFrame(1);
    sink.PassData(item);
    EXPECT_EQ(item.data.use_count(), 1);  // nothing kept
}
