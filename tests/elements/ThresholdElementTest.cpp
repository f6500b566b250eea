// "Threshold" on small synthetic frames, passed through its pads.
#include <gtest/gtest.h>

#include <boost/make_shared.hpp>
#include <opencv2/imgproc.hpp>

#include "core/ControlAndStatus.h"
#include "elements/ThresholdElement.h"
#include "support/FrameMaker.h"
#include "support/PadHarness.h"

namespace {

using testsupport::MakeFrame;

const std::vector<uchar> kRow = {0, 50, 124, 125, 126, 200, 255};

cv::Mat RowImage()
{
    return cv::Mat(kRow, true).reshape(1, 1);
}

std::vector<uchar> RowOf(const cv::Mat& image)
{
    return std::vector<uchar>(image.begin<uchar>(), image.end<uchar>());
}

class ThresholdElementTest : public ::testing::Test {
protected:
    boost::shared_ptr<ControlAndStatus> hub = boost::make_shared<ControlAndStatus>();
    ThresholdElement element{hub};
    testsupport::PadHarness<> pads{element};
};

TEST_F(ThresholdElementTest, SettingsFollowTheBaseInOrderWithDefaults)
{
    const std::vector<ParameterItem> items = element.settings.GetItems();
    ASSERT_GE(items.size(), 3u);
    const struct {
        const char* name;
        const char* descriptor;
        const char* value;
    } expected[] = {
        {"_threshold", "min=1, max=255", "125"},
        {"_max_value", "min=0, max=255", "255"},
        {"_type", "items=[Binary][Binary Inverted][Truncated][To Zero][To Zero Inverted]", "0"},
    };
    for (int i = 0; i < 3; ++i) {
        const ParameterItem& item = items[items.size() - 3 + i];
        EXPECT_EQ(expected[i].name, item.name);
        EXPECT_EQ(expected[i].descriptor, item.descriptor);
        EXPECT_EQ(expected[i].value, element.settings.GetValueAsString(expected[i].name));
    }
}

// Threshold 125 and maximum 200 on the row 0, 50, 124, 125, 126, 200, 255.
TEST_F(ThresholdElementTest, EachTypeOnAKnownRowOfGreyValues)
{
    const struct {
        int type;
        std::vector<uchar> row;
    } cases[] = {
        {0, {0, 0, 0, 0, 200, 200, 200}},       // binary
        {1, {200, 200, 200, 200, 0, 0, 0}},     // binary inverted
        {2, {0, 50, 124, 125, 125, 125, 125}},  // truncated
        {3, {0, 0, 0, 0, 126, 200, 255}},       // to zero
        {4, {0, 50, 124, 125, 0, 0, 0}},        // to zero inverted
    };
    element.settings.SetValue("_max_value", "200", "");
    for (const auto& c : cases) {
        element.settings.SetValue("_type", std::to_string(c.type), "");
        PassableItem<VideoFrame> item = MakeFrame(RowImage());
        const PassableItem<VideoFrame> out = pads.Pass(item);
        EXPECT_EQ(item.data, out.data);
        EXPECT_EQ(c.row, RowOf(out.data->image)) << "type " << c.type;
    }
}

// A colour frame is made grey first (pure red is grey 76) and comes out one channel.
TEST_F(ThresholdElementTest, ColourFrameIsThresholdedAsGrey)
{
    cv::Mat colour(1, 2, CV_8UC3);
    colour.at<cv::Vec3b>(0, 0) = cv::Vec3b(0, 0, 255);
    colour.at<cv::Vec3b>(0, 1) = cv::Vec3b(0, 0, 100);
    const struct {
        int threshold;
        std::vector<uchar> row;
    } cases[] = {{50, {255, 0}}, {20, {255, 255}}, {80, {0, 0}}};
    for (const auto& c : cases) {
        element.settings.SetValue("_threshold", std::to_string(c.threshold), "");
        const cv::Mat out = pads.Pass(MakeFrame(colour)).data->image;
        ASSERT_EQ(CV_8UC1, out.type());
        EXPECT_EQ(c.row, RowOf(out)) << c.threshold;
    }
}

}  // namespace
