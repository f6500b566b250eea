// "Dilation" on small synthetic frames, processed directly.
#include <gtest/gtest.h>

#include <boost/make_shared.hpp>
#include <opencv2/imgproc.hpp>

#include "core/ControlAndStatus.h"
#include "elements/DilationElement.h"

namespace {

PassableItem<VideoFrame> MakeItem(const cv::Mat& image)
{
    PassableItem<VideoFrame> item(boost::make_shared<VideoFrame>());
    item.data->image = image.clone();
    return item;
}

cv::Mat Dot(int size, cv::Point at)
{
    cv::Mat image(size, size, CV_8UC1, cv::Scalar(0));
    image.at<uchar>(at) = 255;
    return image;
}

class DilationElementTest : public ::testing::Test
{
protected:
    int DilatedDot(int size, int type, cv::Point at, int image_size = 31)
    {
        element.settings.SetValue("_size", std::to_string(size), "");
        element.settings.SetValue("_type", std::to_string(type), "");
        PassableItem<VideoFrame> item = MakeItem(Dot(image_size, at));
        element.Process(item);
        return cv::countNonZero(item.data->image);
    }

    boost::shared_ptr<ControlAndStatus> hub = boost::make_shared<ControlAndStatus>();
    DilationElement element{hub};
};

TEST_F(DilationElementTest, SettingsFollowTheBaseInOrderWithDefaults)
{
    const std::vector<ParameterItem> items = element.settings.GetItems();
    ASSERT_GE(items.size(), 2u);
    EXPECT_EQ("_size", items[items.size() - 2].name);
    EXPECT_EQ("min=1, max=11", items[items.size() - 2].descriptor);
    EXPECT_EQ("_type", items[items.size() - 1].name);
    EXPECT_EQ("items=[Rectangle][Cross][Ellipse]", items[items.size() - 1].descriptor);
    EXPECT_EQ("3", element.settings.GetValueAsString("_size"));
    EXPECT_EQ("0", element.settings.GetValueAsString("_type"));
}

// A dot grows into the kernel: side 2 * size + 1, in the shape of the type.
TEST_F(DilationElementTest, DotGrowsIntoTheKernelShape)
{
    const struct { int size, type, pixels; } cases[] = {
        {1, 0, 9},     // 3 x 3 rectangle
        {3, 0, 49},    // the default 7 x 7
        {11, 0, 529},  // 23 x 23
        {1, 1, 5},     // 3 x 3 cross
        {2, 1, 9},     // 5 x 5 cross
        {2, 2, 17},    // 5 x 5 ellipse
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.pixels, DilatedDot(c.size, c.type, {15, 15})) << c.size << "/" << c.type;
}

// The kernel is anchored at its centre, and nothing grows in from outside the image.
TEST_F(DilationElementTest, KernelIsCentredAndTheBorderAddsNothing)
{
    EXPECT_EQ(4, DilatedDot(1, 0, {0, 0}, 5));
    EXPECT_EQ(16, DilatedDot(3, 0, {0, 0}, 5));
    PassableItem<VideoFrame> black = MakeItem(cv::Mat(6, 6, CV_8UC3, cv::Scalar::all(0)));
    element.Process(black);
    EXPECT_EQ(0, cv::norm(black.data->image, cv::NORM_INF));
    EXPECT_EQ(CV_8UC3, black.data->image.type());
}

TEST_F(DilationElementTest, UnknownShapeThrowsAndTheNextFrameWorks)
{
    EXPECT_ANY_THROW(DilatedDot(1, 7, {2, 2}, 5));
    EXPECT_EQ(9, DilatedDot(1, 0, {2, 2}, 5));
}

}  // namespace
