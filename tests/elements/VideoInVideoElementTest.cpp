// "Video In Video": second frames are handed to "second input" the way its
// connection would, and main frames go through the main input and output pads.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include <string>

#include <QImage>
#include <boost/any.hpp>
#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "core/ControlAndStatus.h"
#include "core/PreviewControls.h"
#include "core/SubImageControls.h"
#include "elements/VideoInVideoElement.h"
#include "TeeBranch.h"
#include "support/FrameMaker.h"
#include "support/LogCapture.h"
#include "support/PadHarness.h"

namespace {

using testsupport::MakeFrame;

cv::Mat Uniform(int value, int type = CV_8UC3, cv::Size size = cv::Size(640, 480))
{
    return cv::Mat(size, type, cv::Scalar::all(value));
}

int PixelsEqualTo(const cv::Mat& image, int value)
{
    cv::Mat single = image.reshape(1);
    return cv::countNonZero(single == value);
}

class VideoInVideoElementTest : public ::testing::Test {
protected:
    VideoInVideoElementTest()
    {
        second_input =
            boost::dynamic_pointer_cast<BoltOnSink<VideoFrame>>(element.GetInputByName("second input"));
        sub_image =
            boost::any_cast<SubImageControls*>(element.settings.FindItem("_sub_image_controls").value);
    }

    void ConnectSecond() { second_input->peer_element_id.Set("Image Read_1"); }

    // One main frame with one second frame waiting.
    PassableItem<VideoFrame> Blend(const cv::Mat& main, const cv::Mat& second)
    {
        second_input->PassData(MakeFrame(second));
        return pads.Pass(MakeFrame(main));
    }

    void SetTransparency(double t) { element.settings.SetValue("_transparency", std::to_string(t), ""); }

    boost::shared_ptr<ControlAndStatus> hub = boost::make_shared<ControlAndStatus>();
    VideoInVideoElement element{hub};
    testsupport::PadHarness<> pads{element};
    boost::shared_ptr<BoltOnSink<VideoFrame>> second_input;
    SubImageControls* sub_image = nullptr;
};

TEST_F(VideoInVideoElementTest, PadsSettingsAndDisabledPreview)
{
    ASSERT_TRUE(second_input);
    const auto inputs = element.GetInputs();
    ASSERT_EQ(2u, inputs.size());
    EXPECT_EQ("second input", inputs[1]->pad_name.Get());

    const std::vector<ParameterItem> items = element.settings.GetItems();
    ASSERT_GE(items.size(), 2u);
    EXPECT_EQ("_sub_image_controls", items[items.size() - 2].name);
    EXPECT_EQ("", items[items.size() - 2].descriptor);
    EXPECT_EQ("_transparency", items.back().name);
    EXPECT_EQ("min=0, max=1", items.back().descriptor);
    EXPECT_EQ("0", element.settings.GetValueAsString("_transparency"));
    EXPECT_EQ(cv::Rect(100, 100, 100, 100), sub_image->box.Get());

    auto* preview = boost::any_cast<PreviewControls*>(element.settings.FindItem("_preview_controls").value);
    EXPECT_FALSE(preview->IsEnabled());
}

// Main 100 everywhere, second 200 everywhere: the box is 100 + t * 100.
TEST_F(VideoInVideoElementTest, BoxIsTheWeightedSumOfBothStreams)
{
    const struct {
        double t;
        int inside;
    } cases[] = {{0.0, 100}, {0.5, 150}, {1.0, 200}, {0.25, 125}};
    ConnectSecond();
    for (const auto& c : cases) {
        SetTransparency(c.t);
        const cv::Mat out = Blend(Uniform(100), Uniform(200)).data->image;
        EXPECT_EQ(100 * 100 * 3, PixelsEqualTo(out(cv::Rect(100, 100, 100, 100)), c.inside)) << c.t;
        const int box_values = 100 * 100 * 3;
        const int unchanged = 640 * 480 * 3 - box_values + (c.inside == 100 ? box_values : 0);
        EXPECT_EQ(unchanged, PixelsEqualTo(out, 100)) << c.t;
    }
}

// A weight outside 0 to 1 (from a file or a command) blends as the nearest end.
TEST_F(VideoInVideoElementTest, TransparencyOutsideItsRangeActsAsTheNearestEnd)
{
    const struct {
        double t;
        int inside;
    } cases[] = {{5.0, 200}, {-3.0, 100}, {1e300, 200}, {std::nan(""), 100}};
    ConnectSecond();
    for (const auto& c : cases) {
        boost::any_cast<ThreadSafeVariable<double>*>(element.settings.FindItem("_transparency").value)
            ->Set(c.t);
        const cv::Mat out = Blend(Uniform(100), Uniform(200)).data->image;
        EXPECT_EQ(100 * 100 * 3, PixelsEqualTo(out(cv::Rect(100, 100, 100, 100)), c.inside)) << c.t;
    }
}

// The whole second image is shrunk into the box: its left half lands in the
// box's left half.
TEST_F(VideoInVideoElementTest, WholeSecondImageIsShrunkIntoTheBox)
{
    cv::Mat second = Uniform(0);
    second(cv::Rect(320, 0, 320, 480)).setTo(cv::Scalar::all(200));
    ConnectSecond();
    SetTransparency(0.5);
    const cv::Mat out = Blend(Uniform(100), second).data->image;
    EXPECT_EQ(cv::Vec3b(50, 50, 50), out.at<cv::Vec3b>(150, 120));
    EXPECT_EQ(cv::Vec3b(150, 150, 150), out.at<cv::Vec3b>(150, 180));
    EXPECT_EQ(cv::Vec3b(100, 100, 100), out.at<cv::Vec3b>(99, 99));
    EXPECT_EQ(cv::Vec3b(100, 100, 100), out.at<cv::Vec3b>(200, 200));
}

TEST_F(VideoInVideoElementTest, BoxIsClippedToTheImageAndSkippedWhenOutside)
{
    const struct {
        cv::Rect box;
        int blended;
    } cases[] = {
        {cv::Rect(600, 440, 100, 100), 40 * 40},
        {cv::Rect(-50, -20, 100, 100), 50 * 80},
        {cv::Rect(700, 500, 100, 100), 0},
        {cv::Rect(100, 100, 0, 0), 0},
    };
    ConnectSecond();
    SetTransparency(1.0);
    for (const auto& c : cases) {
        sub_image->box.Set(c.box);
        PassableItem<VideoFrame> out;
        ASSERT_NO_THROW(out = Blend(Uniform(100), Uniform(200))) << c.box;
        EXPECT_EQ(3 * c.blended, PixelsEqualTo(out.data->image, 200)) << c.box;
        EXPECT_EQ(0, second_input->queue.Count()) << c.box;
    }
}

// The second stream is brought to the main stream's channel count.
TEST_F(VideoInVideoElementTest, SecondStreamOfOtherChannelCountIsBlended)
{
    const struct {
        int main_type;
        int second_type;
    } cases[] = {{CV_8UC3, CV_8UC1}, {CV_8UC1, CV_8UC3}, {CV_8UC3, CV_8UC4}, {CV_8UC1, CV_8UC1}};
    ConnectSecond();
    SetTransparency(0.5);
    for (const auto& c : cases) {
        const cv::Mat out = Blend(Uniform(100, c.main_type), Uniform(200, c.second_type)).data->image;
        ASSERT_EQ(c.main_type, out.type());
        EXPECT_EQ(100 * 100 * out.channels(), PixelsEqualTo(out, 150)) << c.second_type;
    }
}

TEST_F(VideoInVideoElementTest, UnconnectedSecondInputPassesTheMainFrameThrough)
{
    SetTransparency(1.0);
    PassableItem<VideoFrame> main = MakeFrame(Uniform(100));
    EXPECT_EQ(main.data, pads.Pass(main).data);
    EXPECT_EQ(640 * 480 * 3, PixelsEqualTo(main.data->image, 100));
    EXPECT_TRUE(sub_image->image_pipe->Pop().IsValid());
}

TEST_F(VideoInVideoElementTest, SelectorPipeGetsAnRgbCopyOfTheResult)
{
    cv::Mat main = Uniform(0);
    main.setTo(cv::Scalar(255, 0, 0));  // blue in BGR
    ConnectSecond();
    SetTransparency(1.0);
    const PassableItem<VideoFrame> out = Blend(main, Uniform(0, CV_8UC3).setTo(cv::Scalar(0, 0, 255)));

    const PassableItem<QImage> shown = sub_image->image_pipe->Pop();
    ASSERT_TRUE(shown.IsValid());
    EXPECT_EQ(640, shown.data->width());
    EXPECT_EQ(480, shown.data->height());
    EXPECT_EQ(qRgb(0, 0, 255), shown.data->pixel(10, 10));
    EXPECT_EQ(qRgb(255, 0, 0), shown.data->pixel(150, 150));
    // A copy: later changes of the frame do not reach the shown image.
    out.data->image.setTo(cv::Scalar(0, 255, 0));
    EXPECT_EQ(qRgb(0, 0, 255), shown.data->pixel(10, 10));
    EXPECT_FALSE(sub_image->image_pipe->Pop().IsValid());
}

// 16-bit and four-channel frames show in the selector; a type it cannot show is named once.
TEST_F(VideoInVideoElementTest, SelectorPipeShowsDeepAndAlphaFramesAndNamesOthersOnce)
{
    const struct {
        int type;
        cv::Scalar value;
        QRgb pixel;
    } frames[] = {
        {CV_16UC3, cv::Scalar(0, 257, 65535), qRgb(255, 1, 0)},
        {CV_16UC1, cv::Scalar(50 * 257), qRgb(50, 50, 50)},
        {CV_8UC4, cv::Scalar(1, 2, 3, 0), qRgb(3, 2, 1)},
        {CV_16SC3, cv::Scalar(1, 2, 3), 0},
        {CV_16SC3, cv::Scalar(1, 2, 3), 0},
    };
    LogCapture log;
    for (const auto& f : frames) {
        pads.Pass(MakeFrame(cv::Mat(48, 64, f.type, f.value)));
        const PassableItem<QImage> shown = sub_image->image_pipe->Pop();
        ASSERT_TRUE(shown.IsValid());
        if (f.type == CV_16SC3) {
            EXPECT_TRUE(shown.data->isNull());
        } else {
            ASSERT_EQ(QSize(64, 48), shown.data->size()) << f.type;
            EXPECT_EQ(f.pixel, shown.data->pixel(5, 5)) << f.type;
        }
    }
    const std::vector<std::string> messages = log.Messages();
    EXPECT_EQ(1, std::count(messages.begin(), messages.end(),
                            "Sub-image selector cannot show frames of type CV_16SC3"));
}

TEST_F(VideoInVideoElementTest, NewImageSizeRequestsOneLayoutUpdate)
{
    const struct {
        cv::Size size;
        bool update;
    } frames[] = {{cv::Size(640, 480), true},
                  {cv::Size(640, 480), false},
                  {cv::Size(320, 240), true},
                  {cv::Size(320, 240), false}};
    for (const auto& f : frames) {
        element.layout_update_requested.Set(false);
        pads.Pass(MakeFrame(Uniform(10, CV_8UC3, f.size)));
        EXPECT_EQ(f.update, element.layout_update_requested.Get()) << f.size;
        EXPECT_EQ(f.size, sub_image->image_size.Get());
    }
}

TEST_F(VideoInVideoElementTest, EmptySecondImageLeavesTheMainFrameUnblended)
{
    ConnectSecond();
    SetTransparency(1.0);
    PassableItem<VideoFrame> out;
    ASSERT_NO_THROW(out = Blend(Uniform(100), cv::Mat()));
    EXPECT_EQ(640 * 480 * 3, PixelsEqualTo(out.data->image, 100));
    EXPECT_EQ(0, second_input->queue.Count());
}

// Different depths cannot be blended; OpenCV throws and the frame is dropped.
TEST_F(VideoInVideoElementTest, SecondStreamOfOtherDepthThrows)
{
    ConnectSecond();
    EXPECT_ANY_THROW(Blend(Uniform(100), Uniform(200, CV_32FC3)));
}

// Wiring "second input" first, or deleting the main feed, must not stop the whole pipeline.
TEST(VideoInVideoPipelineTest, ALoneSecondInputLetsTheRestOfThePipelineRun)
{
    teebranch::ExpectALoneExtraInputLetsTheTeeRun<VideoInVideoElement>(
        "Video In Video_0", "input",
        [](teebranch::TeeBranch& pipeline, const boost::shared_ptr<VideoInVideoElement>& overlay) {
            pipeline.Connect(pipeline.tee, "cloned output 0", overlay, "second input");
        });
}

}  // namespace
