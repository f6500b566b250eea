// "Canny" on small synthetic frames, passed through its pads.
#include <gtest/gtest.h>

#include <boost/make_shared.hpp>
#include <opencv2/imgproc.hpp>

#include "core/ControlAndStatus.h"
#include "elements/EdgeDetect.h"
#include "support/FrameMaker.h"
#include "support/LogCapture.h"
#include "support/PadHarness.h"

namespace {

using testsupport::MakeFrame;

// Black on the left, the given grey level on the right: one straight edge whose
// L1 Sobel gradient is four times the level (no corners, which peak higher).
cv::Mat Step(int level, int type = CV_8UC1)
{
    cv::Mat image(20, 20, type, cv::Scalar::all(0));
    image(cv::Rect(10, 0, 10, 20)).setTo(cv::Scalar::all(level));
    return image;
}

class EdgeDetectTest : public ::testing::Test {
protected:
    boost::shared_ptr<ControlAndStatus> hub = boost::make_shared<ControlAndStatus>();
    EdgeDetect element{hub};
    testsupport::PadHarness<> pads{element};
};

TEST_F(EdgeDetectTest, SettingsFollowTheBaseInOrderWithDefaults)
{
    const std::vector<ParameterItem> items = element.settings.GetItems();
    ASSERT_GE(items.size(), 2u);
    EXPECT_EQ("_threshold_1", items[items.size() - 2].name);
    EXPECT_EQ("min=0, max=255", items[items.size() - 2].descriptor);
    EXPECT_EQ("_threshold_2", items[items.size() - 1].name);
    EXPECT_EQ("min=0, max=255", items[items.size() - 1].descriptor);
    EXPECT_EQ("80", element.settings.GetValueAsString("_threshold_1"));
    EXPECT_EQ("160", element.settings.GetValueAsString("_threshold_2"));
}

// An edge is found only where the gradient passes the upper threshold.
TEST_F(EdgeDetectTest, EdgesAppearOnlyAboveTheThresholds)
{
    const struct {
        int level;
        double low, high;
        bool edges;
    } cases[] = {
        {30, 80, 160, false},  // gradient 120
        {50, 80, 160, true},   // gradient 200
        {30, 20, 60, true},
        {50, 255, 255, false},
    };
    for (const auto& c : cases) {
        element.settings.SetValue("_threshold_1", std::to_string(c.low), "");
        element.settings.SetValue("_threshold_2", std::to_string(c.high), "");
        const cv::Mat out = pads.Pass(MakeFrame(Step(c.level))).data->image;
        EXPECT_EQ(c.edges, cv::countNonZero(out) > 0) << c.level << " " << c.low << "/" << c.high;
        EXPECT_EQ(0, cv::countNonZero(out(cv::Rect(13, 0, 5, 20)))) << "no edge away from the step";
    }
}

// A colour frame becomes one channel through grey; a grey frame is used as it is.
TEST_F(EdgeDetectTest, ColourAndGreyFramesGiveTheSameOneChannelEdges)
{
    const cv::Mat grey = pads.Pass(MakeFrame(Step(100))).data->image;
    const cv::Mat colour = pads.Pass(MakeFrame(Step(100, CV_8UC3))).data->image;
    ASSERT_EQ(CV_8UC1, grey.type());
    ASSERT_EQ(CV_8UC1, colour.type());
    EXPECT_EQ(0, cv::norm(grey, colour, cv::NORM_INF));
    EXPECT_GT(cv::countNonZero(grey), 0);

    cv::Mat expected;
    cv::Canny(Step(100), expected, 80.0, 160.0, 3, false);
    EXPECT_EQ(0, cv::norm(grey, expected, cv::NORM_INF));
}

// Neither 8 nor 16 bits: the element cannot make it grey, and the log says so once with the
// element and the frame's type.
TEST_F(EdgeDetectTest, FloatFrameThrowsIsNamedOnceAndTheNextFrameWorks)
{
    element.SetId("Canny_0");
    LogCapture log;
    for (int i = 0; i < 3; ++i)
        EXPECT_ANY_THROW(pads.Push(MakeFrame(Step(100, CV_32FC1))));
    EXPECT_GT(cv::countNonZero(pads.Pass(MakeFrame(Step(100))).data->image), 0);
    int refusals = 0;
    for (const std::string& line : log.Messages())
        refusals += line.rfind("Canny_0 cannot work on frames of type CV_32FC1: ", 0) == 0 ? 1 : 0;
    EXPECT_EQ(1, refusals);
}

}  // namespace
