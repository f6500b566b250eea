// "Contour Detector" on small synthetic masks passed through its pads; its path
// output is popped the way its connection would.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>
#include <opencv2/imgproc.hpp>

#include "core/ControlAndStatus.h"
#include "core/PathContainer.h"
#include "elements/ContourDetectorElement.h"
#include "support/FrameMaker.h"
#include "support/PadHarness.h"

namespace {

using testsupport::MakeFrame;

cv::Mat FilledSquare()
{
    cv::Mat mask(50, 50, CV_8UC1, cv::Scalar(0));
    mask(cv::Rect(10, 10, 20, 20)).setTo(255);
    return mask;
}

// A square with a square hole: an outer outline and a hole outline.
cv::Mat Ring()
{
    cv::Mat mask = FilledSquare();
    mask(cv::Rect(15, 15, 10, 10)).setTo(0);
    return mask;
}

// Corners of a 20 x 20 square at (10, 10) in any order.
std::vector<cv::Point> Sorted(std::vector<cv::Point> points)
{
    std::sort(points.begin(), points.end(),
              [](const cv::Point& a, const cv::Point& b) { return a.x != b.x ? a.x < b.x : a.y < b.y; });
    return points;
}

class ContourDetectorElementTest : public ::testing::Test {
protected:
    void ConnectPathOutput()
    {
        path_output =
            boost::dynamic_pointer_cast<Source<PathContainer>>(element.GetOutputByName("Path Output"));
        ASSERT_TRUE(path_output);
        path_output->peer_element_id.Set("Path Drawer_0");
    }

    // Processes the image and takes the container the frame sent out.
    PassableItem<PathContainer> Detect(const cv::Mat& image)
    {
        pads.Pass(MakeFrame(image));
        return path_output->GetData();
    }

    void Set(const std::string& name, int value)
    {
        element.settings.SetValue(name, std::to_string(value), "");
    }

    boost::shared_ptr<ControlAndStatus> hub = boost::make_shared<ControlAndStatus>();
    ContourDetectorElement element{hub};
    testsupport::PadHarness<> pads{element};
    boost::shared_ptr<Source<PathContainer>> path_output;
};

TEST_F(ContourDetectorElementTest, SettingsAndPadsAreThoseOfTheCatalogue)
{
    const std::vector<ParameterItem> items = element.settings.GetItems();
    ASSERT_GE(items.size(), 2u);
    const ParameterItem& mode = items[items.size() - 2];
    const ParameterItem& approximation = items[items.size() - 1];
    EXPECT_EQ("_retrieval_mode", mode.name);
    EXPECT_EQ("items=[Retrieve External][Retreve List][Retrieve and Organise][Retreve Tree]",
              mode.descriptor);
    EXPECT_EQ("_contour_approximation_methods", approximation.name);
    EXPECT_EQ("items=[Chain Approx Simple][Chain Approx TC89 L1][Chain Approx TC89 KCOS]",
              approximation.descriptor);
    EXPECT_EQ("0", element.settings.GetValueAsString("_retrieval_mode"));
    EXPECT_EQ("0", element.settings.GetValueAsString("_contour_approximation_methods"));

    const auto outputs = element.GetOutputs();
    ASSERT_EQ(2u, outputs.size());
    EXPECT_EQ("output", outputs[0]->pad_name.Get());
    EXPECT_EQ("Path Output", outputs[1]->pad_name.Get());
    EXPECT_EQ("Path", outputs[1]->GetTypeName());
}

TEST_F(ContourDetectorElementTest, SquareWithDefaultsGivesOneRecordOfItsFourCorners)
{
    ConnectPathOutput();
    const PassableItem<PathContainer> paths = Detect(FilledSquare());
    ASSERT_TRUE(paths.IsValid());
    ASSERT_EQ(1u, paths.data->records.size());
    const PathRecord& record = paths.data->records[0];
    const std::vector<cv::Point> corners{{10, 10}, {10, 29}, {29, 10}, {29, 29}};
    EXPECT_EQ(corners, Sorted(record.points));
    EXPECT_EQ(cv::Scalar(0, 0, 0, 0), record.colour);
    EXPECT_TRUE(record.panic_points.empty());
    EXPECT_TRUE(record.feature_cache.empty());
}

// Retrieval mode index is OpenCV's mode: only "external" drops the ring's hole.
TEST_F(ContourDetectorElementTest, RecordCountPerRetrievalModeForSquareAndRing)
{
    const struct {
        const char* shape;
        cv::Mat (*make)();
        int mode;
        std::size_t records;
    } cases[] = {
        {"square", FilledSquare, 0, 1}, {"square", FilledSquare, 1, 1}, {"square", FilledSquare, 2, 1},
        {"square", FilledSquare, 3, 1}, {"ring", Ring, 0, 1},           {"ring", Ring, 1, 2},
        {"ring", Ring, 2, 2},           {"ring", Ring, 3, 2},
    };
    ConnectPathOutput();
    for (const auto& c : cases) {
        Set("_retrieval_mode", c.mode);
        const PassableItem<PathContainer> paths = Detect(c.make());
        EXPECT_EQ(c.records, paths.data->records.size()) << c.shape << " mode " << c.mode;
    }
}

TEST_F(ContourDetectorElementTest, ExternalModeOnTheRingKeepsTheOuterOutline)
{
    ConnectPathOutput();
    const PassableItem<PathContainer> paths = Detect(Ring());
    ASSERT_EQ(1u, paths.data->records.size());
    EXPECT_EQ(cv::Rect(10, 10, 20, 20), cv::boundingRect(paths.data->records[0].points));
}

// The approximation index is OpenCV's chain approximation method minus 2.
TEST_F(ContourDetectorElementTest, ApproximationIndexSelectsOpenCvMethodPlusTwo)
{
    cv::Mat disc(60, 60, CV_8UC1, cv::Scalar(0));
    cv::circle(disc, cv::Point(30, 30), 20, cv::Scalar(255), cv::FILLED);
    const int methods[] = {cv::CHAIN_APPROX_SIMPLE, cv::CHAIN_APPROX_TC89_L1, cv::CHAIN_APPROX_TC89_KCOS};
    ConnectPathOutput();
    for (int index = 0; index < 3; ++index) {
        std::vector<std::vector<cv::Point>> expected;
        cv::findContours(disc.clone(), expected, cv::RETR_EXTERNAL, methods[index]);
        Set("_contour_approximation_methods", index);
        const PassableItem<PathContainer> paths = Detect(disc);
        ASSERT_EQ(1u, paths.data->records.size()) << index;
        EXPECT_EQ(expected[0], paths.data->records[0].points) << index;
    }
}

TEST_F(ContourDetectorElementTest, GreyFrameGoesOnAsColourAndColourFrameIsUntouched)
{
    ConnectPathOutput();
    PassableItem<VideoFrame> grey = MakeFrame(FilledSquare());
    const PassableItem<VideoFrame> out = pads.Pass(grey);
    EXPECT_EQ(grey.data, out.data);
    path_output->GetData();
    ASSERT_EQ(CV_8UC3, out.data->image.type());
    EXPECT_EQ(cv::Vec3b(255, 255, 255), out.data->image.at<cv::Vec3b>(15, 15));
    EXPECT_EQ(cv::Vec3b(0, 0, 0), out.data->image.at<cv::Vec3b>(5, 5));

    cv::Mat colour(50, 50, CV_8UC3, cv::Scalar(0, 0, 0));
    colour(cv::Rect(10, 10, 20, 20)).setTo(cv::Scalar(0, 0, 90));
    PassableItem<VideoFrame> item = MakeFrame(colour);
    const uchar* pixels = item.data->image.data;
    const PassableItem<VideoFrame> coloured = pads.Pass(item);
    const PassableItem<PathContainer> paths = path_output->GetData();
    EXPECT_EQ(pixels, coloured.data->image.data);
    // Any non-zero pixel counts as foreground.
    EXPECT_EQ(1u, paths.data->records.size());
}

TEST_F(ContourDetectorElementTest, UnconnectedPathOutputNeverWaits)
{
    for (int i = 0; i < 3; ++i)
        pads.Pass(MakeFrame(FilledSquare()));
    auto pad =
        boost::dynamic_pointer_cast<BoltOnSource<PathContainer>>(element.GetOutputByName("Path Output"));
    ASSERT_TRUE(pad);
    EXPECT_EQ(0, pad->queue.Count());
}

TEST_F(ContourDetectorElementTest, BlankImageGivesAnEmptyContainer)
{
    ConnectPathOutput();
    const PassableItem<PathContainer> paths = Detect(cv::Mat(20, 20, CV_8UC1, cv::Scalar(0)));
    ASSERT_TRUE(paths.IsValid());
    EXPECT_TRUE(paths.data->records.empty());
}

// A float image cannot be made 8-bit grey: refused, with no outlines sent; the next frame works.
TEST_F(ContourDetectorElementTest, ImageThatCannotBeMadeGreyIsRefused)
{
    ConnectPathOutput();
    EXPECT_THROW(pads.Push(MakeFrame(cv::Mat(10, 10, CV_32FC1, cv::Scalar(1)))), cv::Exception);
    const PassableItem<VideoFrame> out = pads.Pass(MakeFrame(cv::Mat(10, 10, CV_16UC1, cv::Scalar(51400))));
    EXPECT_EQ(CV_8UC3, out.data->image.type());
    EXPECT_EQ(1u, path_output->GetData().data->records.size());
}

}  // namespace
