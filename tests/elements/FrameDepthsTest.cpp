// Every element that takes a frame in and gives one out, fed one picture as 8-bit BGR and as
// 8-bit BGRA, 16-bit BGR and 16-bit BGRA (as "Image Read" hands on a PNG with alpha or of
// 16 bits): each form gives the 8-bit BGR result, within rounding.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <boost/any.hpp>
#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include "core/ControlAndStatus.h"
#include "core/PathContainer.h"
#include "core/SubImageControls.h"
#include "elements/BlurElement.h"
#include "elements/ColourSpaceConvertorElement.h"
#include "elements/ContourDetectorElement.h"
#include "elements/DilationElement.h"
#include "elements/EdgeDetect.h"
#include "elements/ErosionElement.h"
#include "elements/FalseColour.h"
#include "elements/InRangeThesholdElement.h"
#include "elements/MainDisplayElement.h"
#include "elements/PathDrawer.h"
#include "elements/SnapShotElement.h"
#include "elements/TeeElement.h"
#include "elements/ThresholdElement.h"
#include "elements/VideoInVideoElement.h"
#include "engine/BoltOnSink.h"
#include "engine/BoltOnSource.h"
#include "support/FrameMaker.h"
#include "support/PadHarness.h"
#include "support/TestSupport.h"

namespace {

using testsupport::MakeFrame;
using Settings = std::vector<std::pair<std::string, std::string>>;

// Colour ramps with a white box (edges, contours) and a black disc.
cv::Mat Picture()
{
    cv::Mat image(24, 32, CV_8UC3);
    for (int y = 0; y < image.rows; ++y) {
        for (int x = 0; x < image.cols; ++x)
            image.at<cv::Vec3b>(y, x) = cv::Vec3b(x * 8, y * 10, (x + y) * 4);
    }
    cv::rectangle(image, cv::Rect(6, 4, 12, 10), cv::Scalar(255, 255, 255), cv::FILLED);
    cv::circle(image, cv::Point(24, 16), 5, cv::Scalar(0, 0, 0), cv::FILLED);
    return image;
}

// Alpha that varies over the picture, so an element that reads it as a colour shows it.
cv::Mat WithAlpha(const cv::Mat& bgr)
{
    cv::Mat bgra;
    cv::cvtColor(bgr, bgra, cv::COLOR_BGR2BGRA);
    for (int y = 0; y < bgra.rows; ++y) {
        for (int x = 0; x < bgra.cols; ++x)
            bgra.at<cv::Vec4b>(y, x)[3] = static_cast<uchar>(x * 7 + y);
    }
    return bgra;
}

cv::Mat SixteenBit(const cv::Mat& eight)
{
    cv::Mat sixteen;
    eight.convertTo(sixteen, CV_16U, 257.0);
    return sixteen;
}

struct Form {
    const char* name;
    cv::Mat image;
};

std::vector<Form> OtherForms()
{
    return {{"BGRA 8", WithAlpha(Picture())},
            {"BGR 16", SixteenBit(Picture())},
            {"BGRA 16", SixteenBit(WithAlpha(Picture()))}};
}

// Any result as 8-bit BGR, the form the results are compared in.
cv::Mat AsBgr8(const cv::Mat& image)
{
    cv::Mat eight = image;
    if (image.depth() == CV_16U)
        image.convertTo(eight, CV_8U, 1.0 / 257.0);
    cv::Mat bgr = eight;
    if (eight.channels() == 1)
        cv::cvtColor(eight, bgr, cv::COLOR_GRAY2BGR);
    else if (eight.channels() == 4)
        cv::cvtColor(eight, bgr, cv::COLOR_BGRA2BGR);
    return bgr;
}

boost::shared_ptr<ControlAndStatus> Hub()
{
    return boost::make_shared<ControlAndStatus>();
}

template <typename T>
void Set(ElementBase& element, const std::string& name, const T& value)
{
    boost::any_cast<ThreadSafeVariable<T>*>(element.settings.FindItem(name).value)->Set(value);
}

// The frame through the element's own pads, the settings given as text first.
template <typename Element>
std::function<cv::Mat(const cv::Mat&)> Through(const Settings& settings = {})
{
    return [settings](const cv::Mat& image) {
        Element element(Hub());
        for (const auto& setting : settings)
            element.settings.SetValue(setting.first, setting.second, "");
        testsupport::PadHarness<> pads(element);
        return pads.Pass(MakeFrame(image)).data->image;
    };
}

// Which input of "Video In Video" gets the form under test; the other gets 8-bit BGR.
enum class FormAt { Both, Main, Second };

// The picture mirrored, blended into a box of itself.
std::function<cv::Mat(const cv::Mat&)> ThroughVideoInVideo(FormAt form_at)
{
    return [form_at](const cv::Mat& image) {
        VideoInVideoElement element(Hub());
        boost::any_cast<SubImageControls*>(element.settings.FindItem("_sub_image_controls").value)
            ->box.Set(cv::Rect(4, 4, 16, 12));
        Set(element, "_transparency", 0.5);
        auto second =
            boost::dynamic_pointer_cast<BoltOnSink<VideoFrame>>(element.GetInputByName("second input"));
        second->peer_element_id.Set("Image Read_0");
        // The main input joined first: the second input drops what comes while it is not.
        testsupport::PadHarness<> pads(element);
        cv::Mat mirrored;
        cv::flip(form_at == FormAt::Main ? Picture() : image, mirrored, 1);
        second->PassData(MakeFrame(mirrored));
        return pads.Pass(MakeFrame(form_at == FormAt::Second ? Picture() : image)).data->image;
    };
}

// The frame with the outlines sent on "Path Output" drawn over it.
cv::Mat ThroughContourDetector(const cv::Mat& image)
{
    ContourDetectorElement element(Hub());
    element.settings.SetValue("_retrieval_mode", "1", "");
    auto path_output =
        boost::dynamic_pointer_cast<BoltOnSource<PathContainer>>(element.GetOutputByName("Path Output"));
    path_output->peer_element_id.Set("Path Drawer_0");
    testsupport::PadHarness<> pads(element);
    cv::Mat drawn = AsBgr8(pads.Pass(MakeFrame(image)).data->image).clone();
    const PassableItem<PathContainer> paths = path_output->GetData();
    std::vector<std::vector<cv::Point>> outlines;
    for (const PathRecord& record : paths.data->records)
        outlines.push_back(record.points);
    cv::drawContours(drawn, outlines, -1, cv::Scalar(0, 255, 0));
    return drawn;
}

// A square and a path, drawn in the selected colour.
cv::Mat ThroughPathDrawer(const cv::Mat& image)
{
    PathDrawer element(Hub());
    Set(element, "_colour_type", 1);
    Set(element, "_selected_colour", cv::Scalar(40, 200, 90, 0));
    Set(element, "_draw_bounding_box", true);
    Set(element, "_draw_lines", true);
    Set(element, "_line_thickness", 2);
    auto path_in = boost::dynamic_pointer_cast<BoltOnSink<PathContainer>>(element.GetInputByName("Path In"));
    path_in->peer_element_id.Set("Contour Detector_0");
    auto paths = boost::make_shared<PathContainer>();
    PathRecord square;
    square.points = {{3, 3}, {3, 12}, {12, 12}, {12, 3}};
    PathRecord line;
    line.points = {{14, 20}, {30, 2}};
    paths->records = {square, line};
    testsupport::PadHarness<> pads(element);
    path_in->PassData(PassableItem<PathContainer>(paths));
    return pads.Pass(MakeFrame(image)).data->image;
}

struct Case {
    const char* name;
    std::function<cv::Mat(const cv::Mat&)> run;
};

const Settings kInRangeBounds = {{"_channel_0_min", "40"}, {"_channel_0_max", "200"},
                                 {"_channel_1_min", "20"}, {"_channel_1_max", "180"},
                                 {"_channel_2_min", "10"}, {"_channel_2_max", "250"}};

std::vector<Case> Cases()
{
    return {
        {"Blur", Through<BlurElement>({{"_width", "5"}, {"_height", "3"}})},
        {"Threshold", Through<ThresholdElement>()},
        {"Threshold to zero", Through<ThresholdElement>({{"_threshold", "90"}, {"_type", "3"}})},
        {"In Range Threshold", Through<InRangeThesholdElement>(kInRangeBounds)},
        {"Canny", Through<EdgeDetect>()},
        {"False Colour", Through<FalseColour>()},
        {"Colour Space to RGB", Through<ColourSpaceConvertorElement>({{"_output_colourspace", "1"}})},
        {"Colour Space to HSV", Through<ColourSpaceConvertorElement>({{"_output_colourspace", "2"}})},
        {"Colour Space to GREY", Through<ColourSpaceConvertorElement>({{"_output_colourspace", "3"}})},
        {"Colour Space to YCrCb", Through<ColourSpaceConvertorElement>({{"_output_colourspace", "4"}})},
        {"Contour Detector", ThroughContourDetector},
        {"Dilation", Through<DilationElement>({{"_size", "1"}})},
        {"Erosion", Through<ErosionElement>({{"_size", "1"}, {"_type", "2"}})},
        {"Tee", Through<TeeElement>()},
        {"Main Display", Through<MainDisplayElement>()},
        {"Snap Shot", Through<SnapShotElement>()},
        {"Video In Video", ThroughVideoInVideo(FormAt::Both)},
        {"Video In Video, second input 8-bit BGR", ThroughVideoInVideo(FormAt::Main)},
        {"Video In Video, main input 8-bit BGR", ThroughVideoInVideo(FormAt::Second)},
        {"Path Drawer", ThroughPathDrawer},
    };
}

TEST(FrameDepthsTest, EveryFormGivesTheResultOfTheEightBitColourPicture)
{
    for (const Case& element : Cases()) {
        const cv::Mat expected = AsBgr8(element.run(Picture()));
        ASSERT_FALSE(expected.empty()) << element.name;
        for (const Form& form : OtherForms()) {
            cv::Mat result;
            try {
                result = AsBgr8(element.run(form.image));
            } catch (const cv::Exception& error) {
                ADD_FAILURE() << element.name << " refused " << form.name << ": " << error.err;
                continue;
            }
            ASSERT_EQ(expected.size(), result.size()) << element.name << ", " << form.name;
            EXPECT_LE(cv::norm(expected, result, cv::NORM_INF), 1.0) << element.name << ", " << form.name;
        }
    }
}

// A snapshot of each form reads back as the snapshot of the 8-bit colour picture, in each
// format the element writes.
TEST(FrameDepthsTest, SnapshotsOfEveryFormReadBackAsTheEightBitColourPicture)
{
    testsupport::TempDir folder;
    const auto shoot = [&folder](const cv::Mat& image, int format) {
        SnapShotElement element(Hub());
        element.settings.SetValue("_directory", folder.Path(), "");
        element.settings.SetValue("_image_format", std::to_string(format), "");
        testsupport::PadHarness<> pads(element);
        element.TakeImage();
        pads.Pass(MakeFrame(image));
        return AsBgr8(cv::imread(element.MakeFileName(), cv::IMREAD_UNCHANGED));
    };
    for (int format : {0, 1, 2}) {
        const cv::Mat expected = shoot(Picture(), format);
        ASSERT_FALSE(expected.empty()) << format;
        for (const Form& form : OtherForms()) {
            const cv::Mat written = shoot(form.image, format);
            ASSERT_EQ(expected.size(), written.size()) << format << ", " << form.name;
            EXPECT_LE(cv::norm(expected, written, cv::NORM_INF), 1.0) << format << ", " << form.name;
        }
    }
}

}  // namespace
