// "Blur" on small synthetic frames passed through its pads.
#include <gtest/gtest.h>

#include <boost/make_shared.hpp>
#include <opencv2/imgproc.hpp>

#include "core/ControlAndStatus.h"
#include "elements/BlurElement.h"
#include "support/FrameMaker.h"
#include "support/PadHarness.h"

namespace {

using testsupport::MakeFrame;

// A black image with one white pixel.
cv::Mat Dot(int rows, int cols, cv::Point at)
{
    cv::Mat image(rows, cols, CV_8UC1, cv::Scalar(0));
    image.at<uchar>(at) = 255;
    return image;
}

class BlurElementTest : public ::testing::Test {
protected:
    boost::shared_ptr<ControlAndStatus> hub = boost::make_shared<ControlAndStatus>();
    BlurElement element{hub};
    testsupport::PadHarness<> pads{element};
};

TEST_F(BlurElementTest, SettingsFollowTheBaseInOrderWithDefaults)
{
    const std::vector<ParameterItem> items = element.settings.GetItems();
    ASSERT_GE(items.size(), 3u);
    EXPECT_EQ("_preview_controls", items[items.size() - 3].name);
    EXPECT_EQ("_width", items[items.size() - 2].name);
    EXPECT_EQ("min=1, max=10", items[items.size() - 2].descriptor);
    EXPECT_EQ("_height", items[items.size() - 1].name);
    EXPECT_EQ("min=1, max=10", items[items.size() - 1].descriptor);
    EXPECT_EQ("3", element.settings.GetValueAsString("_width"));
    EXPECT_EQ("3", element.settings.GetValueAsString("_height"));
}

// A dot spreads over a width x height box; width runs along the columns.
TEST_F(BlurElementTest, DotSpreadsOverTheBoxOfTheSettings)
{
    const struct {
        int width, height;
        int spread;
        cv::Point reached;
    } cases[] = {
        {1, 1, 1, {5, 5}}, {3, 3, 9, {6, 6}}, {5, 1, 5, {7, 5}},
        {1, 5, 5, {5, 7}}, {2, 2, 4, {6, 6}},  // an even box is anchored past its middle
    };
    for (const auto& c : cases) {
        element.settings.SetValue("_width", std::to_string(c.width), "");
        element.settings.SetValue("_height", std::to_string(c.height), "");
        const cv::Mat out = pads.Pass(MakeFrame(Dot(11, 11, {5, 5}))).data->image;
        EXPECT_EQ(c.spread, cv::countNonZero(out)) << c.width << "x" << c.height;
        EXPECT_GT(out.at<uchar>(c.reached), 0) << c.width << "x" << c.height;
        EXPECT_EQ(CV_8UC1, out.type());
    }
}

// Default blur is a 3 x 3 box with reflect-101 borders: a corner dot is not mirrored
// onto itself (plain reflect or replicate would count it four times at the corner).
TEST_F(BlurElementTest, DefaultIsABoxBlurWithReflect101Borders)
{
    const cv::Mat out = pads.Pass(MakeFrame(Dot(5, 5, {0, 0}))).data->image;
    EXPECT_EQ(cvRound(255.0 / 9.0), out.at<uchar>(0, 0));
    EXPECT_EQ(cvRound(255.0 / 9.0), out.at<uchar>(0, 1));
    EXPECT_EQ(cvRound(255.0 / 9.0), out.at<uchar>(1, 1));
    EXPECT_EQ(4, cv::countNonZero(out));

    cv::Mat colour(6, 7, CV_8UC3);
    cv::randu(colour, 0, 256);
    const cv::Mat blurred = pads.Pass(MakeFrame(colour)).data->image;
    cv::Mat expected;
    cv::boxFilter(colour, expected, -1, cv::Size(3, 3), cv::Point(-1, -1), true, cv::BORDER_REFLECT_101);
    EXPECT_EQ(0, cv::norm(blurred, expected, cv::NORM_INF));
}

}  // namespace
