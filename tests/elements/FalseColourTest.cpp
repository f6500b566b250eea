// "False Colour" on small synthetic frames, processed directly.
#include <gtest/gtest.h>

#include <boost/make_shared.hpp>
#include <opencv2/imgproc.hpp>

#include "core/ControlAndStatus.h"
#include "elements/FalseColour.h"

namespace {

PassableItem<VideoFrame> MakeItem(const cv::Mat& image)
{
    PassableItem<VideoFrame> item(boost::make_shared<VideoFrame>());
    item.data->image = image.clone();
    return item;
}

cv::Mat GreyRamp()
{
    cv::Mat ramp(1, 256, CV_8UC1);
    for (int i = 0; i < 256; ++i)
        ramp.at<uchar>(0, i) = static_cast<uchar>(i);
    return ramp;
}

class FalseColourTest : public ::testing::Test
{
protected:
    boost::shared_ptr<ControlAndStatus> hub = boost::make_shared<ControlAndStatus>();
    FalseColour element{hub};
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
    const struct { int index; cv::ColormapTypes map; } cases[] = {
        {0, cv::COLORMAP_AUTUMN}, {1, cv::COLORMAP_BONE},    {2, cv::COLORMAP_JET},
        {3, cv::COLORMAP_WINTER}, {4, cv::COLORMAP_RAINBOW}, {5, cv::COLORMAP_OCEAN},
        {6, cv::COLORMAP_SUMMER}, {7, cv::COLORMAP_SPRING},  {8, cv::COLORMAP_COOL},
        {9, cv::COLORMAP_HSV},    {10, cv::COLORMAP_PINK},   {11, cv::COLORMAP_HOT},
    };
    for (const auto& c : cases)
    {
        element.settings.SetValue("_mode", std::to_string(c.index), "");
        PassableItem<VideoFrame> item = MakeItem(GreyRamp());
        const PassableItem<VideoFrame> out = element.Process(item);
        cv::Mat expected;
        cv::applyColorMap(GreyRamp(), expected, c.map);
        ASSERT_EQ(item.data, out.data);
        ASSERT_EQ(CV_8UC3, out.data->image.type()) << c.index;
        EXPECT_EQ(0, cv::norm(out.data->image, expected, cv::NORM_INF)) << c.index;
    }
}

TEST_F(FalseColourTest, DefaultJetRunsFromBlueToRedAndKeepsFrameFields)
{
    PassableItem<VideoFrame> item = MakeItem(GreyRamp());
    item.data->frame_number = 42;
    item.data->time = 1.5;
    element.Process(item);
    const cv::Vec3b dark = item.data->image.at<cv::Vec3b>(0, 0);
    const cv::Vec3b bright = item.data->image.at<cv::Vec3b>(0, 255);
    EXPECT_GT(dark[0], dark[2]);    // blue end
    EXPECT_GT(bright[2], bright[0]);  // red end
    EXPECT_EQ(42, item.data->frame_number);
    EXPECT_EQ(1.5, item.data->time);
}

// OpenCV rejects the image; the exception leaves Process and the next frame works.
TEST_F(FalseColourTest, ImageOfUnsupportedDepthThrowsAndTheNextFrameWorks)
{
    EXPECT_ANY_THROW(element.Process(MakeItem(cv::Mat(4, 4, CV_16UC1, cv::Scalar(7)))));
    const PassableItem<VideoFrame> out = element.Process(MakeItem(GreyRamp()));
    EXPECT_EQ(CV_8UC3, out.data->image.type());
}

}  // namespace
