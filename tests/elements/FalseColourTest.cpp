// "False Colour" on small synthetic frames, passed through its pads.
#include <gtest/gtest.h>

#include <boost/make_shared.hpp>
#include <opencv2/imgproc.hpp>

#include "core/ControlAndStatus.h"
#include "elements/FalseColour.h"
#include "support/FrameMaker.h"
#include "support/PadHarness.h"

namespace {

using testsupport::MakeFrame;

cv::Mat GreyRamp()
{
    cv::Mat ramp(1, 256, CV_8UC1);
    for (int i = 0; i < 256; ++i)
        ramp.at<uchar>(0, i) = static_cast<uchar>(i);
    return ramp;
}

class FalseColourTest : public ::testing::Test {
protected:
    boost::shared_ptr<ControlAndStatus> hub = boost::make_shared<ControlAndStatus>();
    FalseColour element{hub};
    testsupport::PadHarness<> pads{element};
};

TEST_F(FalseColourTest, ModeIsTheLastSettingWithItsItemsAndJetByDefault)
{
    const std::vector<ParameterItem> items = element.settings.GetItems();
    ASSERT_FALSE(items.empty());
    EXPECT_EQ("_mode", items.back().name);
    EXPECT_EQ("items=[Autumn][Bone][Jet][Winter][Rainbow][Ocean][Summer][Spring][Cool][Hsv][Pink][Hot]",
              items.back().descriptor);
    EXPECT_EQ(12u, items.back().GetItems().size());
    EXPECT_EQ("2", element.settings.GetValueAsString("_mode"));
    EXPECT_EQ("input", element.GetInputs().at(0)->pad_name.Get());
}

// The stored index is OpenCV's colour-map number, in OpenCV's own order.
TEST_F(FalseColourTest, EachIndexSelectsTheOpenCvMapOfThatNumber)
{
    const struct {
        int index;
        cv::ColormapTypes map;
    } cases[] = {
        {0, cv::COLORMAP_AUTUMN}, {1, cv::COLORMAP_BONE},    {2, cv::COLORMAP_JET},
        {3, cv::COLORMAP_WINTER}, {4, cv::COLORMAP_RAINBOW}, {5, cv::COLORMAP_OCEAN},
        {6, cv::COLORMAP_SUMMER}, {7, cv::COLORMAP_SPRING},  {8, cv::COLORMAP_COOL},
        {9, cv::COLORMAP_HSV},    {10, cv::COLORMAP_PINK},   {11, cv::COLORMAP_HOT},
    };
    for (const auto& c : cases) {
        element.settings.SetValue("_mode", std::to_string(c.index), "");
        PassableItem<VideoFrame> item = MakeFrame(GreyRamp());
        const PassableItem<VideoFrame> out = pads.Pass(item);
        cv::Mat expected;
        cv::applyColorMap(GreyRamp(), expected, c.map);
        ASSERT_EQ(item.data, out.data);
        ASSERT_EQ(CV_8UC3, out.data->image.type()) << c.index;
        EXPECT_EQ(0, cv::norm(out.data->image, expected, cv::NORM_INF)) << c.index;
    }
}

TEST_F(FalseColourTest, DefaultJetRunsFromBlueToRedAndKeepsFrameFields)
{
    const PassableItem<VideoFrame> out = pads.Pass(MakeFrame(GreyRamp(), 42, 1.5));
    const cv::Vec3b dark = out.data->image.at<cv::Vec3b>(0, 0);
    const cv::Vec3b bright = out.data->image.at<cv::Vec3b>(0, 255);
    EXPECT_GT(dark[0], dark[2]);      // blue end
    EXPECT_GT(bright[2], bright[0]);  // red end
    EXPECT_EQ(42, out.data->frame_number);
    EXPECT_EQ(1.5, out.data->time);
}

// OpenCV rejects the image; the exception leaves the input pad and the next frame works.
TEST_F(FalseColourTest, ImageOfUnsupportedDepthThrowsAndTheNextFrameWorks)
{
    EXPECT_ANY_THROW(pads.Push(MakeFrame(cv::Mat(4, 4, CV_32FC1, cv::Scalar(7)))));
    const PassableItem<VideoFrame> out = pads.Pass(MakeFrame(GreyRamp()));
    EXPECT_EQ(CV_8UC3, out.data->image.type());
}

}  // namespace
