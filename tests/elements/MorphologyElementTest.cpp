// "Dilation" and "Erosion" on small synthetic frames, passed through their pads.
#include <gtest/gtest.h>

#include <boost/make_shared.hpp>
#include <opencv2/imgproc.hpp>

#include "core/ControlAndStatus.h"
#include "elements/DilationElement.h"
#include "elements/ErosionElement.h"
#include "support/FrameMaker.h"
#include "support/PadHarness.h"

namespace {

using testsupport::MakeFrame;

cv::Mat Dot(int size, cv::Point at)
{
    cv::Mat image(size, size, CV_8UC1, cv::Scalar(0));
    image.at<uchar>(at) = 255;
    return image;
}

// A white square of the given side centred in a black 31 x 31 image.
cv::Mat Square(int side)
{
    cv::Mat image(31, 31, CV_8UC1, cv::Scalar(0));
    const int start = (31 - side) / 2;
    image(cv::Rect(start, start, side, side)).setTo(255);
    return image;
}

class MorphologyElementTest : public ::testing::Test {
protected:
    // The white pixels left after `element` with the given settings ran on `image`.
    int WhiteAfter(MorphologyElement& element, int size, int type, const cv::Mat& image)
    {
        element.settings.SetValue("_size", std::to_string(size), "");
        element.settings.SetValue("_type", std::to_string(type), "");
        return cv::countNonZero(PadsOf(element).Pass(MakeFrame(image)).data->image);
    }

    testsupport::PadHarness<>& PadsOf(MorphologyElement& element)
    {
        return &element == &dilation ? dilation_pads : erosion_pads;
    }

    boost::shared_ptr<ControlAndStatus> hub = boost::make_shared<ControlAndStatus>();
    DilationElement dilation{hub};
    ErosionElement erosion{hub};
    testsupport::PadHarness<> dilation_pads{dilation};
    testsupport::PadHarness<> erosion_pads{erosion};
};

TEST_F(MorphologyElementTest, SettingsFollowTheBaseInOrderWithDefaults)
{
    for (MorphologyElement* element :
         {static_cast<MorphologyElement*>(&dilation), static_cast<MorphologyElement*>(&erosion)}) {
        const std::vector<ParameterItem> items = element->settings.GetItems();
        ASSERT_GE(items.size(), 2u);
        EXPECT_EQ("_size", items[items.size() - 2].name);
        EXPECT_EQ("min=1, max=11", items[items.size() - 2].descriptor);
        EXPECT_EQ("_type", items[items.size() - 1].name);
        EXPECT_EQ("items=[Rectangle][Cross][Ellipse]", items[items.size() - 1].descriptor);
        EXPECT_EQ("3", element->settings.GetValueAsString("_size"));
        EXPECT_EQ("0", element->settings.GetValueAsString("_type"));
    }
}

// A dot grows into the kernel: side 2 * size + 1, in the shape of the type.
TEST_F(MorphologyElementTest, DilatedDotTakesTheKernelShape)
{
    const struct {
        int size, type, pixels;
    } cases[] = {
        {1, 0, 9},     // 3 x 3 rectangle
        {3, 0, 49},    // the default 7 x 7
        {11, 0, 529},  // 23 x 23
        {1, 1, 5},     // 3 x 3 cross
        {2, 1, 9},     // 5 x 5 cross
        {2, 2, 17},    // 5 x 5 ellipse
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.pixels, WhiteAfter(dilation, c.size, c.type, Dot(31, {15, 15})))
            << c.size << "/" << c.type;
}

// The kernel is anchored at its centre, and nothing grows in from outside the image.
TEST_F(MorphologyElementTest, DilationKernelIsCentredAndTheBorderAddsNothing)
{
    EXPECT_EQ(4, WhiteAfter(dilation, 1, 0, Dot(5, {0, 0})));
    EXPECT_EQ(16, WhiteAfter(dilation, 3, 0, Dot(5, {0, 0})));
    const cv::Mat black =
        dilation_pads.Pass(MakeFrame(cv::Mat(6, 6, CV_8UC3, cv::Scalar::all(0)))).data->image;
    EXPECT_EQ(0, cv::norm(black, cv::NORM_INF));
    EXPECT_EQ(CV_8UC3, black.type());
}

// A square loses "_size" pixels on every side; a smaller one vanishes.
TEST_F(MorphologyElementTest, ErodedSquareShrinksBySizeOnEachSide)
{
    const struct {
        int size, type, side, pixels;
    } cases[] = {
        {1, 0, 9, 49},  // 7 x 7 left
        {3, 0, 9, 9},   // default: 3 x 3 left
        {3, 0, 7, 1},   {3, 0, 5, 0},
        {2, 1, 9, 25},  // a cross of reach 2 also takes 2 per side from a square
        {11, 0, 23, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.pixels, WhiteAfter(erosion, c.size, c.type, Square(c.side))) << c.size << "/" << c.side;
}

// OpenCV's default border value counts as white for erosion: the image edge eats nothing.
TEST_F(MorphologyElementTest, ErodedAllWhiteImageStaysWhite)
{
    const struct {
        int size, type, cv_type;
    } cases[] = {{1, 0, CV_8UC1}, {11, 2, CV_8UC1}, {3, 1, CV_8UC3}};
    for (const auto& c : cases) {
        erosion.settings.SetValue("_size", std::to_string(c.size), "");
        erosion.settings.SetValue("_type", std::to_string(c.type), "");
        const cv::Mat out =
            erosion_pads.Pass(MakeFrame(cv::Mat(9, 12, c.cv_type, cv::Scalar::all(255)))).data->image;
        cv::Mat inverse;
        cv::subtract(cv::Scalar::all(255), out, inverse);
        EXPECT_EQ(0, cv::norm(inverse, cv::NORM_INF)) << c.size;
        EXPECT_EQ(c.cv_type, out.type());
    }
}

TEST_F(MorphologyElementTest, UnknownShapeThrowsAndTheNextFrameWorks)
{
    for (MorphologyElement* element :
         {static_cast<MorphologyElement*>(&dilation), static_cast<MorphologyElement*>(&erosion)}) {
        EXPECT_ANY_THROW(WhiteAfter(*element, 1, 7, Dot(5, {2, 2})));
        EXPECT_NO_THROW(WhiteAfter(*element, 1, 0, Dot(5, {2, 2})));
    }
    EXPECT_EQ(9, WhiteAfter(dilation, 1, 0, Dot(5, {2, 2})));
}

}  // namespace
