#include "core/ImageConversions.h"

#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <opencv2/imgproc.hpp>

namespace {

cv::Mat ColourImage()
{
    cv::Mat image(4, 5, CV_8UC3);
    cv::randu(image, 0, 256);
    return image;
}

TEST(ToGreyTest, GreySourceIsSharedNotCopied)
{
    cv::Mat grey(4, 5, CV_8UC1, cv::Scalar(7));
    cv::Mat dst;
    ToGrey(grey, dst);
    EXPECT_EQ(dst.data, grey.data);
    ToGrey(grey, grey);
    EXPECT_EQ(grey.at<uchar>(0, 0), 7);
}

TEST(ToGreyTest, ColourSourceIsConvertedAlsoInPlace)
{
    cv::Mat colour = ColourImage();
    cv::Mat expected;
    cv::cvtColor(colour, expected, cv::COLOR_BGR2GRAY);

    cv::Mat dst;
    ToGrey(colour, dst);
    ASSERT_EQ(dst.type(), CV_8UC1);
    EXPECT_EQ(cv::norm(dst, expected, cv::NORM_INF), 0.0);

    ToGrey(colour, colour);
    ASSERT_EQ(colour.type(), CV_8UC1);
    EXPECT_EQ(cv::norm(colour, expected, cv::NORM_INF), 0.0);
}

TEST(ToColourTest, GreySourceBecomesBgrColourSourceIsShared)
{
    cv::Mat grey(3, 3, CV_8UC1, cv::Scalar(42));
    cv::Mat dst;
    ToColour(grey, dst);
    ASSERT_EQ(dst.type(), CV_8UC3);
    EXPECT_EQ(dst.at<cv::Vec3b>(1, 1), cv::Vec3b(42, 42, 42));

    cv::Mat colour = ColourImage();
    cv::Mat shared;
    ToColour(colour, shared);
    EXPECT_EQ(shared.data, colour.data);
}

TEST(ImageConversionsTest, OtherTypesLeaveTheDestinationAlone)
{
    for (int type : {CV_16UC1, CV_32FC1, CV_8UC4, CV_16UC3, CV_32FC3}) {
        SCOPED_TRACE(type);
        cv::Mat src(3, 3, type, cv::Scalar::all(1));
        cv::Mat dst(2, 2, CV_8UC1, cv::Scalar(9));
        const uchar* before = dst.data;
        ToGrey(src, dst);
        EXPECT_EQ(dst.data, before);
        ToColour(src, dst);
        EXPECT_EQ(dst.data, before);
        EXPECT_EQ(dst.at<uchar>(0, 0), 9);
    }
}

// One pixel (B, G, R, A) = (10, 100, 200, 7) in each form: its channels kept, dropped or
// added, 16-bit values as the 8-bit ones times 257 plus a little that must round away.
TEST(ToEightBitTest, EachFormBecomesTheEightBitPixelWanted)
{
    const auto form = [](int type) {
        const int channels = CV_MAT_CN(type);
        const cv::Scalar eight = channels == 1 ? cv::Scalar(120) : cv::Scalar(10, 100, 200, 7);
        const double scale = CV_MAT_DEPTH(type) == CV_16U ? 257.0 : 1.0;
        const double extra = CV_MAT_DEPTH(type) == CV_16U ? 100.0 : 0.0;
        return cv::Mat(1, 1, type, eight * scale + cv::Scalar::all(extra));
    };
    const int grey_of_colour = 120;  // 0.114 * 10 + 0.587 * 100 + 0.299 * 200, rounded
    const struct {
        int type;
        ChannelsWanted wanted;
        int expected_type;
        cv::Scalar expected;
    } cases[] = {
        {CV_8UC3, ChannelsWanted::Grey, CV_8UC1, cv::Scalar(grey_of_colour)},
        {CV_8UC4, ChannelsWanted::Grey, CV_8UC1, cv::Scalar(grey_of_colour)},
        {CV_16UC3, ChannelsWanted::Grey, CV_8UC1, cv::Scalar(grey_of_colour)},
        {CV_16UC1, ChannelsWanted::Grey, CV_8UC1, cv::Scalar(120)},
        {CV_8UC1, ChannelsWanted::Colour, CV_8UC3, cv::Scalar(120, 120, 120)},
        {CV_16UC1, ChannelsWanted::Colour, CV_8UC3, cv::Scalar(120, 120, 120)},
        {CV_8UC4, ChannelsWanted::Colour, CV_8UC3, cv::Scalar(10, 100, 200)},
        {CV_16UC4, ChannelsWanted::Colour, CV_8UC3, cv::Scalar(10, 100, 200)},
        {CV_16UC1, ChannelsWanted::GreyOrColour, CV_8UC1, cv::Scalar(120)},
        {CV_16UC3, ChannelsWanted::GreyOrColour, CV_8UC3, cv::Scalar(10, 100, 200)},
        {CV_8UC4, ChannelsWanted::GreyOrColour, CV_8UC3, cv::Scalar(10, 100, 200)},
        {CV_16UC4, ChannelsWanted::GreyOrColour, CV_8UC3, cv::Scalar(10, 100, 200)},
        {CV_16UC4, ChannelsWanted::Unchanged, CV_8UC4, cv::Scalar(10, 100, 200, 7)},
        {CV_16UC3, ChannelsWanted::Unchanged, CV_8UC3, cv::Scalar(10, 100, 200)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(cv::typeToString(c.type) + " wanted " + std::to_string(static_cast<int>(c.wanted)));
        cv::Mat dst;
        ToEightBit(form(c.type), dst, c.wanted);
        ASSERT_EQ(dst.type(), c.expected_type);
        EXPECT_EQ(cv::Scalar(cv::mean(dst)), c.expected);

        cv::Mat in_place = form(c.type);
        ToEightBit(in_place, in_place, c.wanted);
        ASSERT_EQ(in_place.type(), c.expected_type);
        EXPECT_EQ(cv::Scalar(cv::mean(in_place)), c.expected);
    }
}

TEST(ToEightBitTest, ImageAlreadyAsWantedIsSharedNotCopied)
{
    const struct {
        int type;
        ChannelsWanted wanted;
    } cases[] = {
        {CV_8UC1, ChannelsWanted::Grey},         {CV_8UC3, ChannelsWanted::Colour},
        {CV_8UC1, ChannelsWanted::GreyOrColour}, {CV_8UC3, ChannelsWanted::GreyOrColour},
        {CV_8UC4, ChannelsWanted::Unchanged},
    };
    for (const auto& c : cases) {
        const cv::Mat src(3, 4, c.type, cv::Scalar::all(5));
        cv::Mat dst;
        ToEightBit(src, dst, c.wanted);
        EXPECT_EQ(dst.data, src.data) << cv::typeToString(c.type);
    }
}

TEST(ToEightBitTest, OtherDepthsAndChannelCountsAreRefused)
{
    for (int type : {CV_8UC2, CV_16UC2, CV_8SC1, CV_16SC3, CV_32SC1, CV_32FC3, CV_64FC1, CV_8UC(5)}) {
        const cv::Mat src = cv::Mat::zeros(2, 2, type);
        cv::Mat dst;
        EXPECT_THROW(ToEightBit(src, dst, ChannelsWanted::GreyOrColour), cv::Exception)
            << cv::typeToString(type);
        EXPECT_TRUE(dst.empty());
    }
}

TEST(BgrToHsvTest, GivesTheScaleOfEightBitHsvFrames)
{
    struct Case {
        cv::Scalar bgr;
        cv::Scalar hsv;
    };
    const std::vector<Case> cases = {
        {{255, 0, 0, 0}, {120, 255, 255, 0}}, {{0, 255, 0, 0}, {60, 255, 255, 0}},
        {{0, 0, 255, 0}, {0, 255, 255, 0}},   {{100, 100, 100, 0}, {0, 0, 100, 0}},
        {{0, 0, 0, 0}, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        const cv::Scalar hsv = BgrToHsv(c.bgr);
        for (int i = 0; i < 4; ++i)
            EXPECT_NEAR(hsv[i], c.hsv[i], 1e-3) << "colour " << c.bgr << " component " << i;
    }
}

TEST(BgrToHsvTest, MatchesTheConversionOfAnEightBitImage)
{
    cv::Mat pixels(1, 200, CV_8UC3);
    cv::randu(pixels, 0, 256);
    cv::Mat hsv;
    cv::cvtColor(pixels, hsv, cv::COLOR_BGR2HSV);
    for (int i = 0; i < pixels.cols; ++i) {
        const cv::Vec3b bgr = pixels.at<cv::Vec3b>(0, i);
        const cv::Vec3b frame = hsv.at<cv::Vec3b>(0, i);
        const cv::Scalar result = BgrToHsv(cv::Scalar(bgr[0], bgr[1], bgr[2], 0));
        // Hue wraps: 179.6 rounds to 180 in the float result and to 0 in the frame.
        const double hue_gap = std::abs(result[0] - frame[0]);
        EXPECT_LE(std::min(hue_gap, 180.0 - hue_gap), 1.0) << bgr;
        EXPECT_NEAR(result[1], frame[1], 1.0) << bgr;
        EXPECT_NEAR(result[2], frame[2], 1e-3) << bgr;
        EXPECT_EQ(result[3], 0.0);
    }
}

TEST(DrawRotatedRectTest, DrawsTheOutlineOnly)
{
    cv::Mat image(30, 30, CV_8UC1, cv::Scalar(0));
    DrawRotatedRect(image, cv::RotatedRect(cv::Point2f(15, 15), cv::Size2f(10, 6), 0), 1, cv::Scalar(255));
    EXPECT_EQ(image.at<uchar>(12, 10), 255);  // corner (10, 12)
    EXPECT_EQ(image.at<uchar>(18, 20), 255);  // corner (20, 18)
    EXPECT_EQ(image.at<uchar>(12, 15), 255);  // top edge
    EXPECT_EQ(image.at<uchar>(15, 15), 0);    // inside
    EXPECT_EQ(image.at<uchar>(5, 5), 0);      // outside
}

TEST(DrawRotatedRectTest, RectangleWithoutExtentDrawsNothing)
{
    cv::Mat image(30, 30, CV_8UC3, cv::Scalar::all(0));
    DrawRotatedRect(image, cv::RotatedRect(), 3, cv::Scalar(255, 255, 255));
    DrawRotatedRect(image, cv::RotatedRect(cv::Point2f(10, 10), cv::Size2f(0, 0), 30), 3,
                    cv::Scalar(255, 255, 255));
    EXPECT_EQ(cv::countNonZero(image.reshape(1)), 0);
}

TEST(FitRectInImageTest, Table)
{
    struct Case {
        cv::Rect box;
        cv::Size image;
        int min_side;
        cv::Rect expected;
    };
    const std::vector<Case> cases = {
        {{-5, -5, 20, 20}, {100, 100}, 10, {0, 0, 20, 20}},
        {{10, 10, 30, 30}, {100, 100}, 10, {10, 10, 30, 30}},
        {{95, 90, 20, 20}, {100, 100}, 10, {80, 80, 20, 20}},
        {{-10, 5, 200, 300}, {100, 50}, 10, {0, 0, 100, 50}},
        // The minimum side is grown only while the box is being moved in.
        {{10, 10, 2, 3}, {100, 100}, 10, {10, 10, 2, 3}},
        {{-3, 98, 2, 4}, {100, 100}, 10, {0, 90, 10, 10}},
        // An image without pixels leaves the box as it was.
        {{-5, -5, 20, 20}, {0, 0}, 10, {-5, -5, 20, 20}},
        {{3, 4, 5, 6}, {-10, 100}, 10, {3, 4, 5, 6}},
        {{3, 4, 5, 6}, {100, -1}, 10, {3, 4, 5, 6}},
        // Negative sides are never returned.
        {{10, 10, -5, -7}, {100, 100}, -20, {10, 10, 0, 0}},
        {{-2, 10, -5, -7}, {100, 100}, 2, {0, 10, 2, 2}},
        // Minimum side larger than the image: the sides stay within the image.
        {{-1, 0, 5, 5}, {6, 6}, 10, {0, 0, 6, 6}},
    };
    for (const Case& c : cases) {
        cv::Rect box = c.box;
        const cv::Rect result = FitRectInImage(box, c.image, c.min_side);
        EXPECT_EQ(result, c.expected) << "box " << c.box << " image " << c.image;
        EXPECT_EQ(box, result) << "the argument holds the result too";
        EXPECT_GE(result.width, 0);
        EXPECT_GE(result.height, 0);
    }
}

TEST(FitRectInImageTest, FarAwayBoxStopsWithoutOverflow)
{
    cv::Rect box(2147483600, -2147483600, 50, 50);
    const cv::Rect result = FitRectInImage(box, cv::Size(100, 100), 10);
    EXPECT_EQ(result.width, 50);
    EXPECT_EQ(result.height, 50);
}

TEST(RandomColourTest, TakesThreeRandsLastFirstAndNeverReaches255)
{
    std::srand(11);
    const int first = std::rand();
    const int second = std::rand();
    const int third = std::rand();
    std::srand(11);
    EXPECT_EQ(RandomColour(), cv::Scalar(third % 255, second % 255, first % 255, 0));

    for (int i = 0; i < 20000; ++i) {
        const cv::Scalar colour = RandomColour();
        for (int c = 0; c < 3; ++c) {
            ASSERT_GE(colour[c], 0);
            ASSERT_LE(colour[c], 254);
        }
        ASSERT_EQ(colour[3], 0);
    }
}

}  // namespace
