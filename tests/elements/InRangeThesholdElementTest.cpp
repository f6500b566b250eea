// "In Range Threshold" on small synthetic frames, passed through its pads.
#include <gtest/gtest.h>

#include <boost/make_shared.hpp>
#include <opencv2/imgproc.hpp>

#include "core/ControlAndStatus.h"
#include "elements/InRangeThesholdElement.h"
#include "support/FrameMaker.h"
#include "support/PadHarness.h"

namespace {

const char* const kBounds[6] = {"_channel_0_min", "_channel_0_max", "_channel_1_min",
                                "_channel_1_max", "_channel_2_min", "_channel_2_max"};

using testsupport::MakeFrame;

// A row of colours: the picked one at columns 0 and 3, others elsewhere.
cv::Mat Palette(const cv::Vec3b& picked)
{
    cv::Mat row(1, 5, CV_8UC3);
    row.at<cv::Vec3b>(0, 0) = picked;
    row.at<cv::Vec3b>(0, 1) = cv::Vec3b(255, 0, 0);
    row.at<cv::Vec3b>(0, 2) = cv::Vec3b(20, 200, 20);
    row.at<cv::Vec3b>(0, 3) = picked;
    row.at<cv::Vec3b>(0, 4) = cv::Vec3b(0, 0, 0);
    return row;
}

std::vector<uchar> RowOf(const cv::Mat& image)
{
    return std::vector<uchar>(image.begin<uchar>(), image.end<uchar>());
}

class InRangeThesholdElementTest : public ::testing::Test {
protected:
    void Pick(const cv::Scalar& colour)
    {
        // The colour picker writes the variable directly, as here.
        boost::any_cast<ThreadSafeVariable<cv::Scalar>*>(element.settings.FindItem("_pick_colour").value)
            ->Set(colour);
    }

    void PressReset()
    {
        for (const SignalContainer::NamedSignal& named : element.signal_container.GetSignals())
            if (named.second == "_ResetToSelected")
                (*named.first)();
    }

    std::vector<int> Bounds()
    {
        std::vector<int> bounds;
        for (const char* name : kBounds)
            bounds.push_back(std::stoi(element.settings.GetValueAsString(name)));
        return bounds;
    }

    void SetBounds(const std::vector<int>& bounds)
    {
        for (int i = 0; i < 6; ++i)
            element.settings.SetValue(kBounds[i], std::to_string(bounds[i]), "");
    }

    boost::shared_ptr<ControlAndStatus> hub = boost::make_shared<ControlAndStatus>();
    InRangeThesholdElement element{hub};
    testsupport::PadHarness<> pads{element};
};

TEST_F(InRangeThesholdElementTest, SettingsSignalAndDefaults)
{
    const std::vector<SignalContainer::NamedSignal> named = element.signal_container.GetSignals();
    ASSERT_EQ(1u, named.size());
    EXPECT_EQ("_ResetToSelected", named[0].second);

    const std::vector<ParameterItem> items = element.settings.GetItems();
    ASSERT_GE(items.size(), 8u);
    const struct {
        const char* name;
        const char* descriptor;
    } expected[] = {
        {"_pick_colour", ""},
        {"_sensitivity", "min=0, max=255"},
        {"_channel_0_min", "min=0, max=255"},
        {"_channel_0_max", "min=0, max=255"},
        {"_channel_1_min", "min=0, max=255"},
        {"_channel_1_max", "min=0, max=255"},
        {"_channel_2_min", "min=0, max=255"},
        {"_channel_2_max", "min=0, max=255"},
    };
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(expected[i].name, items[items.size() - 8 + i].name);
        EXPECT_EQ(expected[i].descriptor, items[items.size() - 8 + i].descriptor);
    }
    EXPECT_EQ("_preview_controls", items[items.size() - 9].name);
    EXPECT_EQ("10", element.settings.GetValueAsString("_sensitivity"));
    EXPECT_EQ((std::vector<int>{0, 255, 0, 255, 0, 255}), Bounds());
}

TEST_F(InRangeThesholdElementTest, DefaultBoundsOnABgrFrameGiveAnAllWhiteMask)
{
    PassableItem<VideoFrame> item = MakeFrame(Palette(cv::Vec3b(1, 2, 3)), VideoFormat::BGR);
    const PassableItem<VideoFrame> out = pads.Pass(item);
    EXPECT_EQ(item.data, out.data);
    ASSERT_EQ(CV_8UC1, item.data->image.type());
    EXPECT_EQ((std::vector<uchar>(5, 255)), RowOf(item.data->image));
    EXPECT_EQ(VideoFormat::BGR, item.data->format.GetColourSpace());
}

// The reset button on a BGR stream: picked colour +/- sensitivity, truncated, unclamped.
TEST_F(InRangeThesholdElementTest, ResetOnABgrStreamDerivesBoundsFromThePick)
{
    const struct {
        cv::Scalar pick;
        int sensitivity;
        std::vector<int> bounds;
    } cases[] = {
        {{100, 150, 200, 0}, 10, {90, 110, 140, 160, 190, 210}},
        {{100, 150, 200, 0}, 220, {-120, 320, -70, 370, -20, 420}},
        {{100.7, 0, 255, 0}, 0, {100, 100, 0, 0, 255, 255}},
        {{-0.5, 1e12, 0, 0}, 1, {-1, 0, 2147483647, 2147483647, -1, 1}},  // typed far out of range
    };
    for (const auto& c : cases) {
        Pick(c.pick);
        element.settings.SetValue("_sensitivity", std::to_string(c.sensitivity), "");
        element.layout_update_requested.Set(false);
        PressReset();
        EXPECT_EQ(c.bounds, Bounds()) << c.sensitivity;
        EXPECT_TRUE(element.layout_update_requested.Get());
    }
}

// Bounds beyond 0..255 simply admit the whole end of the range.
TEST_F(InRangeThesholdElementTest, MaskFollowsTheBoundsIncludingOutOfRangeOnes)
{
    const cv::Vec3b picked(100, 150, 200);
    const struct {
        std::vector<int> bounds;
        std::vector<uchar> mask;
    } cases[] = {
        {{90, 110, 140, 160, 190, 210}, {255, 0, 0, 255, 0}},
        {{100, 100, 150, 150, 200, 200}, {255, 0, 0, 255, 0}},
        {{101, 110, 140, 160, 190, 210}, {0, 0, 0, 0, 0}},
        {{-120, 320, -70, 370, -20, 420}, {255, 255, 255, 255, 255}},
        {{-10, 10, -10, 10, -10, 10}, {0, 0, 0, 0, 255}},
    };
    for (const auto& c : cases) {
        SetBounds(c.bounds);
        PassableItem<VideoFrame> item = MakeFrame(Palette(picked), VideoFormat::BGR);
        pads.Pass(item);
        EXPECT_EQ(c.mask, RowOf(item.data->image)) << c.bounds[0];
    }
}

// The bounds are in the stream's own 8-bit HSV units, so the picked colour on an
// HSV stream matches exactly the pixels of that colour.
TEST_F(InRangeThesholdElementTest, FirstHsvFrameDerivesBoundsInTheStreamsUnits)
{
    const cv::Vec3b picked(100, 150, 200);  // hue 15, saturation 127, value 200 in 8-bit HSV
    Pick(cv::Scalar(100, 150, 200, 0));
    pads.Pass(MakeFrame(Palette(picked), VideoFormat::BGR));
    EXPECT_EQ((std::vector<int>{0, 255, 0, 255, 0, 255}), Bounds());

    cv::Mat hsv;
    cv::cvtColor(Palette(picked), hsv, cv::COLOR_BGR2HSV);
    element.layout_update_requested.Set(false);
    PassableItem<VideoFrame> item = MakeFrame(hsv, VideoFormat::HSV);
    pads.Pass(item);
    EXPECT_EQ((std::vector<int>{5, 25, 117, 137, 190, 210}), Bounds());
    EXPECT_TRUE(element.layout_update_requested.Get());
    EXPECT_EQ((std::vector<uchar>{255, 0, 0, 255, 0}), RowOf(item.data->image));
}

// With no tolerance the bounds must be the stream's own numbers: this colour is
// (51, 239, 110) in 8-bit HSV, where a rescaled float conversion truncates to
// (50, 238, 110) and would miss it.
TEST_F(InRangeThesholdElementTest, ZeroSensitivityOnHsvStillFindsThePickedColour)
{
    const cv::Vec3b picked(7, 110, 39);
    Pick(cv::Scalar(7, 110, 39, 0));
    element.settings.SetValue("_sensitivity", "0", "");
    cv::Mat hsv;
    cv::cvtColor(Palette(picked), hsv, cv::COLOR_BGR2HSV);
    PassableItem<VideoFrame> item = MakeFrame(hsv, VideoFormat::HSV);
    pads.Pass(item);
    EXPECT_EQ((std::vector<int>{51, 51, 239, 239, 110, 110}), Bounds());
    EXPECT_EQ((std::vector<uchar>{255, 0, 0, 255, 0}), RowOf(item.data->image));

    SetBounds({0, 255, 0, 255, 0, 255});
    PressReset();
    EXPECT_EQ((std::vector<int>{51, 51, 239, 239, 110, 110}), Bounds());
}

TEST_F(InRangeThesholdElementTest, LaterHsvFramesKeepTheBounds)
{
    Pick(cv::Scalar(100, 150, 200, 0));
    cv::Mat hsv;
    cv::cvtColor(Palette(cv::Vec3b(100, 150, 200)), hsv, cv::COLOR_BGR2HSV);
    pads.Pass(MakeFrame(hsv, VideoFormat::HSV));
    const std::vector<int> derived = Bounds();

    SetBounds({0, 255, 0, 255, 0, 255});
    Pick(cv::Scalar(0, 0, 255, 0));
    element.layout_update_requested.Set(false);
    pads.Pass(MakeFrame(hsv, VideoFormat::HSV));
    EXPECT_EQ((std::vector<int>{0, 255, 0, 255, 0, 255}), Bounds());
    EXPECT_FALSE(element.layout_update_requested.Get());

    // Back to BGR, then HSV again: each change of colour space re-derives.
    Pick(cv::Scalar(100, 150, 200, 0));
    pads.Pass(MakeFrame(Palette(cv::Vec3b(1, 2, 3)), VideoFormat::BGR));
    EXPECT_EQ((std::vector<int>{90, 110, 140, 160, 190, 210}), Bounds());
    pads.Pass(MakeFrame(hsv, VideoFormat::HSV));
    EXPECT_EQ(derived, Bounds());
}

// RGB, GREY and YCrCb streams never change the bounds, not even through the button.
TEST_F(InRangeThesholdElementTest, OtherColourSpacesNeverChangeTheBounds)
{
    const struct {
        VideoFormat::ColourSpace space;
        int type;
    } cases[] = {{VideoFormat::RGB, CV_8UC3}, {VideoFormat::GREY, CV_8UC1}, {VideoFormat::YCrCb, CV_8UC3}};
    Pick(cv::Scalar(100, 150, 200, 0));
    for (const auto& c : cases) {
        const std::vector<int> bounds = {1, 254, 2, 253, 3, 252};
        SetBounds(bounds);
        PassableItem<VideoFrame> item = MakeFrame(cv::Mat(2, 2, c.type, cv::Scalar::all(128)), c.space);
        pads.Pass(item);
        PressReset();
        EXPECT_EQ(bounds, Bounds()) << c.space;
        EXPECT_EQ(CV_8UC1, item.data->image.type());
        EXPECT_EQ(c.space, item.data->format.GetColourSpace());
    }
}

}  // namespace
