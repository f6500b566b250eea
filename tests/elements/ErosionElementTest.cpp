// "Erosion" on small synthetic frames, processed directly.
#include <gtest/gtest.h>

#include <boost/make_shared.hpp>
#include <opencv2/imgproc.hpp>

#include "core/ControlAndStatus.h"
#include "elements/ErosionElement.h"

namespace {

PassableItem<VideoFrame> MakeItem(const cv::Mat& image)
{
    PassableItem<VideoFrame> item(boost::make_shared<VideoFrame>());
    item.data->image = image.clone();
    return item;
}

// A white square of the given side centred in a black 31 x 31 image.
cv::Mat Square(int side)
{
    cv::Mat image(31, 31, CV_8UC1, cv::Scalar(0));
    const int start = (31 - side) / 2;
    image(cv::Rect(start, start, side, side)).setTo(255);
    return image;
}

class ErosionElementTest : public ::testing::Test
{
protected:
    void Configure(int size, int type)
    {
        element.settings.SetValue("_size", std::to_string(size), "");
        element.settings.SetValue("_type", std::to_string(type), "");
    }

    boost::shared_ptr<ControlAndStatus> hub = boost::make_shared<ControlAndStatus>();
    ErosionElement element{hub};
};

TEST_F(ErosionElementTest, SettingsFollowTheBaseInOrderWithDefaults)
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

// A square loses "_size" pixels on every side; a smaller one vanishes.
TEST_F(ErosionElementTest, SquareShrinksBySizeOnEachSide)
{
    const struct { int size, type, side, pixels; } cases[] = {
        {1, 0, 9, 49},    // 7 x 7 left
        {3, 0, 9, 9},     // default: 3 x 3 left
        {3, 0, 7, 1},
        {3, 0, 5, 0},
        {2, 1, 9, 25},    // a cross of reach 2 also takes 2 per side from a square
        {11, 0, 23, 1},
    };
    for (const auto& c : cases)
    {
        Configure(c.size, c.type);
        PassableItem<VideoFrame> item = MakeItem(Square(c.side));
        element.Process(item);
        EXPECT_EQ(c.pixels, cv::countNonZero(item.data->image)) << c.size << "/" << c.side;
    }
}

// OpenCV's default border value counts as white for erosion: the image edge eats nothing.
TEST_F(ErosionElementTest, AllWhiteImageStaysWhite)
{
    const struct { int size, type, cv_type; } cases[] = {{1, 0, CV_8UC1}, {11, 2, CV_8UC1}, {3, 1, CV_8UC3}};
    for (const auto& c : cases)
    {
        Configure(c.size, c.type);
        PassableItem<VideoFrame> item = MakeItem(cv::Mat(9, 12, c.cv_type, cv::Scalar::all(255)));
        element.Process(item);
        cv::Mat inverse;
        cv::subtract(cv::Scalar::all(255), item.data->image, inverse);
        EXPECT_EQ(0, cv::norm(inverse, cv::NORM_INF)) << c.size;
        EXPECT_EQ(c.cv_type, item.data->image.type());
    }
}

}  // namespace
