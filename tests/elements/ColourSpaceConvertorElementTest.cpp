// "Colour Space Conversion" on small synthetic frames, passed through its pads.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include <boost/make_shared.hpp>
#include <opencv2/imgproc.hpp>

#include "core/ControlAndStatus.h"
#include "elements/ColourSpaceConvertorElement.h"
#include "support/FrameMaker.h"
#include "support/PadHarness.h"

namespace {

using Space = VideoFormat::ColourSpace;

using testsupport::MakeFrame;

// Saturated colours away from red, so hue survives lossy round trips unwrapped.
cv::Mat Palette()
{
    const cv::Vec3b colours[] = {{255, 0, 0},    {0, 255, 0},   {40, 200, 120},
                                 {230, 120, 60}, {0, 255, 255}, {255, 255, 0}};
    cv::Mat row(1, 6, CV_8UC3);
    for (int i = 0; i < 6; ++i)
        row.at<cv::Vec3b>(0, i) = colours[i];
    return row;
}

class ColourSpaceConvertorElementTest : public ::testing::Test {
protected:
    // One converter set to the target, fed with the frame.
    PassableItem<VideoFrame> Convert(PassableItem<VideoFrame> item, int to)
    {
        element.settings.SetValue("_output_colourspace", std::to_string(to), "");
        return pads.Pass(item);
    }

    boost::shared_ptr<ControlAndStatus> hub = boost::make_shared<ControlAndStatus>();
    ColourSpaceConvertorElement element{hub};
    testsupport::PadHarness<> pads{element};
};

TEST_F(ColourSpaceConvertorElementTest, TargetSettingFollowsTheBaseWithBgrDefault)
{
    const std::vector<ParameterItem> items = element.settings.GetItems();
    ASSERT_GE(items.size(), 2u);
    EXPECT_EQ("_preview_controls", items[items.size() - 2].name);
    EXPECT_EQ("_output_colourspace", items.back().name);
    EXPECT_EQ("items=[BGR][RGB][HSV][GREY][YCrCb]", items.back().descriptor);
    EXPECT_EQ((std::vector<std::string>{"BGR", "RGB", "HSV", "GREY", "YCrCb"}), items.back().GetItems());
    EXPECT_EQ("0", element.settings.GetValueAsString("_output_colourspace"));
}

TEST_F(ColourSpaceConvertorElementTest, BgrFrameWithTheDefaultPassesUntouched)
{
    PassableItem<VideoFrame> item = MakeFrame(Palette(), VideoFormat::BGR);
    const uchar* pixels = item.data->image.data;
    const PassableItem<VideoFrame> out = pads.Pass(item);
    EXPECT_EQ(item.data, out.data);
    EXPECT_EQ(pixels, out.data->image.data);
    EXPECT_EQ(0, cv::norm(out.data->image, Palette(), cv::NORM_INF));
    EXPECT_EQ(VideoFormat::BGR, out.data->format.GetColourSpace());
}

// Pure blue into each space: the right code and the new label.
TEST_F(ColourSpaceConvertorElementTest, BlueIntoEachSpaceIsConvertedAndLabelled)
{
    const struct {
        Space to;
        int channels;
        cv::Scalar pixel;
    } cases[] = {
        {VideoFormat::RGB, 3, {0, 0, 255}},
        {VideoFormat::HSV, 3, {120, 255, 255}},
        {VideoFormat::GREY, 1, {29}},
        {VideoFormat::YCrCb, 3, {29, 107, 255}},
    };
    for (const auto& c : cases) {
        cv::Mat blue(1, 1, CV_8UC3, cv::Scalar(255, 0, 0));
        const PassableItem<VideoFrame> out = Convert(MakeFrame(blue, VideoFormat::BGR), c.to);
        const VideoFrame& frame = *out.data;
        ASSERT_EQ(c.channels, frame.image.channels()) << c.to;
        EXPECT_EQ(c.to, frame.format.GetColourSpace());
        EXPECT_EQ(c.channels, frame.format.GetChannels());
        cv::Mat expected(1, 1, frame.image.type(), c.pixel);
        EXPECT_LE(cv::norm(frame.image, expected, cv::NORM_INF), 1.0) << c.to;
    }
}

// Every three-channel pair: converting BGR -> from -> to matches BGR -> to, and the
// frame ends labelled "to" (two-step pairs such as HSV to YCrCb go through BGR or RGB).
TEST_F(ColourSpaceConvertorElementTest, EveryColourPairRoundTripsWithItsLabel)
{
    const Space colour_spaces[] = {VideoFormat::BGR, VideoFormat::RGB, VideoFormat::HSV, VideoFormat::YCrCb};
    const Space targets[] = {VideoFormat::BGR, VideoFormat::RGB, VideoFormat::HSV, VideoFormat::GREY,
                             VideoFormat::YCrCb};
    for (const Space from : colour_spaces) {
        for (const Space to : targets) {
            const PassableItem<VideoFrame> expected = Convert(MakeFrame(Palette(), VideoFormat::BGR), to);
            PassableItem<VideoFrame> item = Convert(MakeFrame(Palette(), VideoFormat::BGR), from);
            ASSERT_EQ(from, item.data->format.GetColourSpace());
            item = Convert(item, to);
            EXPECT_EQ(to, item.data->format.GetColourSpace()) << from << "->" << to;
            ASSERT_EQ(expected.data->image.type(), item.data->image.type()) << from << "->" << to;
            EXPECT_LE(cv::norm(item.data->image, expected.data->image, cv::NORM_INF), 6.0)
                << from << "->" << to;
        }
    }
}

// A one-channel frame is GREY whatever its format said, and gains three channels.
TEST_F(ColourSpaceConvertorElementTest, GreyFrameIntoEachColourSpace)
{
    const struct {
        Space to;
        cv::Scalar pixel;
    } cases[] = {
        {VideoFormat::BGR, {90, 90, 90}},
        {VideoFormat::RGB, {90, 90, 90}},
        {VideoFormat::HSV, {0, 0, 90}},
        {VideoFormat::YCrCb, {90, 128, 128}},
    };
    for (const auto& c : cases) {
        const PassableItem<VideoFrame> out =
            Convert(MakeFrame(cv::Mat(2, 3, CV_8UC1, cv::Scalar(90)), VideoFormat::HSV), c.to);
        ASSERT_EQ(CV_8UC3, out.data->image.type()) << c.to;
        EXPECT_EQ(c.to, out.data->format.GetColourSpace());
        EXPECT_EQ(3, out.data->format.GetChannels());
        EXPECT_EQ(0, cv::norm(out.data->image, cv::Mat(2, 3, CV_8UC3, c.pixel), cv::NORM_INF)) << c.to;
    }
    const PassableItem<VideoFrame> same =
        Convert(MakeFrame(cv::Mat(2, 3, CV_8UC1, cv::Scalar(90)), VideoFormat::BGR), VideoFormat::GREY);
    EXPECT_EQ(CV_8UC1, same.data->image.type());
    EXPECT_EQ(VideoFormat::GREY, same.data->format.GetColourSpace());
}

// GREY then BGR: three-channel grey-valued BGR frames.
TEST_F(ColourSpaceConvertorElementTest, GreyThenBgrGivesGreyValuedColourFrames)
{
    ColourSpaceConvertorElement to_bgr(hub);
    PassableItem<VideoFrame> item = Convert(MakeFrame(Palette(), VideoFormat::BGR), VideoFormat::GREY);
    ASSERT_EQ(CV_8UC1, item.data->image.type());
    const cv::Mat grey = item.data->image.clone();
    testsupport::PadHarness<>(to_bgr).Pass(item);
    ASSERT_EQ(CV_8UC3, item.data->image.type());
    EXPECT_EQ(VideoFormat::BGR, item.data->format.GetColourSpace());
    std::vector<cv::Mat> planes;
    cv::split(item.data->image, planes);
    for (const cv::Mat& plane : planes)
        EXPECT_EQ(0, cv::norm(plane, grey, cv::NORM_INF));
}

// Unknown targets change nothing, nor do four float channels.
TEST_F(ColourSpaceConvertorElementTest, UnlistedCasesChangeNeitherImageNorLabel)
{
    const struct {
        int type;
        Space label;
        int to;
    } cases[] = {
        {CV_32FC4, VideoFormat::UNSET, VideoFormat::HSV}, {CV_32FC4, VideoFormat::HSV, VideoFormat::GREY},
        {CV_8UC3, VideoFormat::BGR, VideoFormat::UNSET},  {CV_8UC3, VideoFormat::BGR, 9},
        {CV_8UC1, VideoFormat::GREY, VideoFormat::UNSET},
    };
    for (const auto& c : cases) {
        cv::Mat image(2, 2, c.type);
        cv::randu(image, 0, 256);
        PassableItem<VideoFrame> item = MakeFrame(image, c.label);
        Convert(item, c.to);
        EXPECT_EQ(0, cv::norm(item.data->image, image, cv::NORM_INF)) << c.type << "->" << c.to;
        EXPECT_EQ(c.label, item.data->format.GetColourSpace()) << c.type << "->" << c.to;
    }
}

TEST_F(ColourSpaceConvertorElementTest, UnsupportedDepthThrowsAndKeepsTheLabel)
{
    PassableItem<VideoFrame> item =
        MakeFrame(cv::Mat(2, 2, CV_16SC3, cv::Scalar::all(1000)), VideoFormat::BGR);
    EXPECT_ANY_THROW(Convert(item, VideoFormat::HSV));
    EXPECT_EQ(VideoFormat::BGR, item.data->format.GetColourSpace());
    EXPECT_EQ(3, Convert(MakeFrame(Palette(), VideoFormat::BGR), VideoFormat::HSV).data->image.channels());
}

// The target changes under the processing thread; every frame is labelled with the
// space it was actually converted into.
TEST_F(ColourSpaceConvertorElementTest, LabelMatchesTheConversionWhileTheTargetChanges)
{
    auto* target =
        boost::any_cast<ThreadSafeVariable<int>*>(element.settings.FindItem("_output_colourspace").value);
    std::atomic<bool> done{false};
    std::thread toggler([&] {
        for (int i = 0; !done.load(); ++i)
            target->Set(i % 2 == 0 ? VideoFormat::GREY : VideoFormat::HSV);
    });
    cv::Mat hsv;
    cv::cvtColor(Palette(), hsv, cv::COLOR_BGR2HSV);
    int mismatches = 0;
    for (int i = 0; i < 20000; ++i) {
        // Straight to Process: the race needs many frames, not the pads.
        const PassableItem<VideoFrame> out = element.Process(MakeFrame(Palette(), VideoFormat::BGR));
        const VideoFrame& frame = *out.data;
        const Space label = frame.format.GetColourSpace();
        const bool three = frame.image.channels() == 3;
        const bool consistent =
            (label == VideoFormat::GREY && frame.image.channels() == 1) ||
            (label == VideoFormat::HSV && three && cv::norm(frame.image, hsv, cv::NORM_INF) == 0) ||
            (label == VideoFormat::BGR && three && cv::norm(frame.image, Palette(), cv::NORM_INF) == 0);
        if (!consistent)
            ++mismatches;
    }
    done = true;
    toggler.join();
    EXPECT_EQ(0, mismatches);
}

}  // namespace
