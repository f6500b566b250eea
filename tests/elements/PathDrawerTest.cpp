// "Path Drawer" on small synthetic frames: containers are handed to "Path In"
// and taken from "Path out" the way their connections would, and frames go
// through the video pads; one test runs the drawer in a real pipeline.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include <boost/any.hpp>
#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>
#include <opencv2/imgproc.hpp>

#include "TeeBranch.h"
#include "core/ControlAndStatus.h"
#include "core/ImageConversions.h"
#include "core/PathContainer.h"
#include "elements/ContourDetectorElement.h"
#include "elements/PathDrawer.h"
#include "engine/ConnectionManager.h"
#include "engine/ConnectionTestElements.h"
#include "support/FrameMaker.h"
#include "support/PadHarness.h"
#include "support/TestSupport.h"

namespace {

using testsupport::WaitFor;

PassableItem<VideoFrame> BlackFrame()
{
    return testsupport::MakeFrame(cv::Mat(50, 50, CV_8UC3, cv::Scalar(0, 0, 0)));
}

int LitPixels(const cv::Mat& image)
{
    cv::Mat any;
    cv::cvtColor(image > 0, any, cv::COLOR_BGR2GRAY);
    return cv::countNonZero(any);
}

int PixelsOfColour(const cv::Mat& image, const cv::Scalar& colour)
{
    cv::Mat mask;
    cv::inRange(image, colour, colour, mask);
    return cv::countNonZero(mask);
}

PathRecord Record(std::vector<cv::Point> points, cv::Scalar colour = cv::Scalar(0, 0, 0, 0))
{
    PathRecord record;
    record.points = std::move(points);
    record.colour = colour;
    return record;
}

// The corners of the 20 x 20 square at (10, 10), in outline order.
PathRecord SquareRecord(cv::Scalar colour = cv::Scalar(0, 0, 0, 0))
{
    return Record({{10, 10}, {10, 29}, {29, 29}, {29, 10}}, colour);
}

// 37 points around an ellipse of half-axes 15 and 10 centred at (25, 25).
PathRecord EllipseRecord()
{
    std::vector<cv::Point> points;
    cv::ellipse2Poly(cv::Point(25, 25), cv::Size(15, 10), 0, 0, 360, 10, points);
    return Record(points);
}

// Container k holds one square record of colour (k + 1, 100, 200).
class NumberedPathSource : public ElementOutput<PathContainer> {
public:
    using ElementOutput<PathContainer>::ElementOutput;
    PassableItem<PathContainer> MakeData() override
    {
        auto paths = boost::make_shared<PathContainer>();
        paths->records.push_back(SquareRecord(cv::Scalar(next_++ + 1, 100, 200, 0)));
        return PassableItem<PathContainer>(paths);
    }

private:
    int next_ = 0;  // connection thread only
};

// Notes, per frame, its number and the container number its square was drawn with (-1 for none).
class DrawnNumberSink : public ElementInput<VideoFrame> {
public:
    using ElementInput<VideoFrame>::ElementInput;
    void ConsumeData(PassableItem<VideoFrame> item) override
    {
        const cv::Vec3b corner = item.data->image.at<cv::Vec3b>(10, 10);
        const int container = corner[1] == 100 && corner[2] == 200 ? corner[0] - 1 : -1;
        boost::lock_guard<boost::mutex> lock(mutex_);
        pairs_.emplace_back(item.data->frame_number, container);
    }
    std::vector<std::pair<std::int64_t, int>> Pairs() const
    {
        boost::lock_guard<boost::mutex> lock(mutex_);
        return pairs_;
    }

private:
    mutable boost::mutex mutex_;  // guards pairs_
    std::vector<std::pair<std::int64_t, int>> pairs_;
};

const cv::Scalar kRed(0, 0, 255, 0);

class PathDrawerTest : public ::testing::Test {
protected:
    PathDrawerTest()
    {
        path_in = boost::dynamic_pointer_cast<BoltOnSink<PathContainer>>(element.GetInputByName("Path In"));
        path_out =
            boost::dynamic_pointer_cast<BoltOnSource<PathContainer>>(element.GetOutputByName("Path out"));
    }

    template <typename T>
    void Set(const std::string& name, const T& value)
    {
        boost::any_cast<ThreadSafeVariable<T>*>(element.settings.FindItem(name).value)->Set(value);
    }

    void ConnectPathIn() { path_in->peer_element_id.Set("Contour Detector_0"); }

    // Hands the container to "Path In", then passes one frame through the video pads.
    PassableItem<VideoFrame> Draw(const std::vector<PathRecord>& records)
    {
        auto paths = boost::make_shared<PathContainer>();
        paths->records = records;
        last_paths = paths;
        path_in->PassData(PassableItem<PathContainer>(paths));
        return pads.Pass(BlackFrame());
    }

    // One red record drawn with the given switches on.
    int DrawnPixels(const PathRecord& record)
    {
        Set<int>("_colour_type", 1);
        Set<cv::Scalar>("_selected_colour", kRed);
        return LitPixels(Draw({record}).data->image);
    }

    boost::shared_ptr<ControlAndStatus> hub = boost::make_shared<ControlAndStatus>();
    PathDrawer element{hub};
    testsupport::PadHarness<> pads{element};
    boost::shared_ptr<BoltOnSink<PathContainer>> path_in;
    boost::shared_ptr<BoltOnSource<PathContainer>> path_out;
    boost::shared_ptr<PathContainer> last_paths;
};

TEST_F(PathDrawerTest, PadsAndSettingsAreThoseOfTheCatalogue)
{
    ASSERT_TRUE(path_in);
    ASSERT_TRUE(path_out);
    const auto inputs = element.GetInputs();
    const auto outputs = element.GetOutputs();
    ASSERT_EQ(2u, inputs.size());
    ASSERT_EQ(2u, outputs.size());
    EXPECT_EQ("Path In", inputs[1]->pad_name.Get());
    EXPECT_EQ("Path out", outputs[1]->pad_name.Get());

    const struct {
        const char* name;
        const char* descriptor;
        const char* value;
    } expected[] = {
        {"_colour_type", "items=[Random][Selected][Actual]", "0"},
        {"_selected_colour", "", nullptr},
        {"_draw_bounding_box", "", "0"},
        {"_draw_ellipse", "", "0"},
        {"_draw_rotated_rectangle", "", "0"},
        {"_draw_path", "", "0"},
        {"_draw_lines", "", "0"},
        {"_draw_panic_points", "", "0"},
        {"_draw_convex_hull", "", "0"},
        {"_fill", "", "0"},
        {"_line_thickness", "min=1, max=30", "1"},
        {"_clear_image", "", "0"},
        {"_cleared_colour", "", nullptr},
    };
    const std::vector<ParameterItem> items = element.settings.GetItems();
    const std::size_t count = sizeof(expected) / sizeof(expected[0]);
    ASSERT_GE(items.size(), count);
    const std::size_t first = items.size() - count;
    for (std::size_t i = 0; i < count; ++i) {
        EXPECT_EQ(expected[i].name, items[first + i].name);
        EXPECT_EQ(expected[i].descriptor, items[first + i].descriptor) << expected[i].name;
        if (expected[i].value != nullptr) {
            EXPECT_EQ(expected[i].value, element.settings.GetValueAsString(expected[i].name))
                << expected[i].name;
        }
    }
    EXPECT_EQ(cv::Scalar(0, 0, 0, 0), boost::any_cast<ThreadSafeVariable<cv::Scalar>*>(
                                          element.settings.FindItem("_selected_colour").value)
                                          ->Get());
}

TEST_F(PathDrawerTest, UnconnectedPathInPassesFramesUntouchedAndIgnoresArrivals)
{
    Set<bool>("_draw_bounding_box", true);
    Set<bool>("_clear_image", true);
    PassableItem<VideoFrame> frame = BlackFrame();
    frame.data->image.setTo(cv::Scalar(7, 7, 7));
    EXPECT_EQ(frame.data, pads.Pass(frame).data);
    EXPECT_EQ(50 * 50, PixelsOfColour(frame.data->image, cv::Scalar(7, 7, 7)));

    // A late arrival on the unconnected pad is dropped instead of blocking its sender.
    for (int i = 0; i < 3; ++i)
        path_in->PassData(PassableItem<PathContainer>(boost::make_shared<PathContainer>()));
    EXPECT_EQ(0, path_in->queue.Count());
}

// Square corners (10, 10) to (29, 29): its outline has 76 pixels, its area 400.
TEST_F(PathDrawerTest, DrawnShapesHaveTheirPixelCounts)
{
    const struct {
        const char* shape;
        bool fill;
        int thickness;
        int pixels;
    } cases[] = {
        {"_draw_bounding_box", false, 1, 76},
        {"_draw_bounding_box", true, 1, 400},
        {"_draw_bounding_box", true, 3, 400},   // filled: the thickness does not matter
        {"_draw_bounding_box", false, 3, 368},  // OpenCV's thickness-3 outline of the square
        {"_draw_rotated_rectangle", false, 1, 76},
        {"_draw_rotated_rectangle", true, 1, 76},   // fill never fills it
        {"_draw_rotated_rectangle", true, 3, 368},  // it keeps the line thickness
        {"_draw_lines", false, 1, 58},              // open: three sides
        {"_draw_lines", true, 1, 58},
        {"_draw_path", false, 1, 4 * 4},  // a radius-1 dot per point
    };
    ConnectPathIn();
    for (const auto& c : cases) {
        for (const char* shape :
             {"_draw_bounding_box", "_draw_rotated_rectangle", "_draw_lines", "_draw_path"})
            Set<bool>(shape, std::string(shape) == c.shape);
        Set<bool>("_fill", c.fill);
        Set<int>("_line_thickness", c.thickness);
        EXPECT_EQ(c.pixels, DrawnPixels(SquareRecord()))
            << c.shape << " fill " << c.fill << " t " << c.thickness;
    }
}

// A thickness beyond its range (from a file or a command) draws as the nearest bound.
TEST_F(PathDrawerTest, LineThicknessOutsideItsRangeDrawsAsTheNearestBound)
{
    ConnectPathIn();
    Set<bool>("_draw_lines", true);
    const struct {
        int hostile;
        int bound;
    } cases[] = {
        {std::numeric_limits<int>::max(), 30}, {1000, 30}, {0, 1}, {std::numeric_limits<int>::min(), 1}};
    for (const auto& c : cases) {
        Set<int>("_line_thickness", c.bound);
        const int expected = DrawnPixels(SquareRecord());
        Set<int>("_line_thickness", c.hostile);
        EXPECT_EQ(expected, DrawnPixels(SquareRecord())) << c.hostile;
    }
}

TEST_F(PathDrawerTest, EllipseIsDrawnOnlyForFiveOrMorePoints)
{
    ConnectPathIn();
    Set<bool>("_draw_ellipse", true);
    EXPECT_EQ(0, DrawnPixels(SquareRecord()));

    const int outline = DrawnPixels(EllipseRecord());
    Set<bool>("_fill", true);
    const int filled = DrawnPixels(EllipseRecord());
    EXPECT_GT(outline, 40);
    EXPECT_LT(outline, 150);
    // About pi * 15 * 10 = 471 inside, plus the rim.
    EXPECT_GT(filled, 450);
    EXPECT_LT(filled, 560);
}

// A fitted ellipse without a finite positive size would make OpenCV throw and
// lose the frame; the record just gets no ellipse and the rest is drawn.
TEST_F(PathDrawerTest, DegenerateEllipseIsSkippedAndTheFrameSurvives)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const cv::RotatedRect degenerate[] = {
        cv::RotatedRect(cv::Point2f(25, 25), cv::Size2f(nan, 10), 0),
        cv::RotatedRect(cv::Point2f(25, 25), cv::Size2f(10, inf), 0),
        cv::RotatedRect(cv::Point2f(25, 25), cv::Size2f(0, 0), 0),
        cv::RotatedRect(cv::Point2f(25, 25), cv::Size2f(-4, 10), 0),
    };
    ConnectPathIn();
    path_out->peer_element_id.Set("Sink_0");
    Set<bool>("_draw_ellipse", true);
    Set<bool>("_draw_bounding_box", true);
    for (const cv::RotatedRect& ellipse : degenerate) {
        PathRecord record = Record({{10, 10}, {10, 29}, {20, 35}, {29, 29}, {29, 10}});
        record.SetCachedValue("ellipse", ellipse);
        int pixels = -1;
        ASSERT_NO_THROW(pixels = DrawnPixels(record)) << ellipse.size;
        // Only the bounding box (10, 10)-(29, 35): 2 * 20 + 2 * 26 - 4.
        EXPECT_EQ(88, pixels) << ellipse.size;
        const PassableItem<PathContainer> forwarded = path_out->GetData();
        EXPECT_EQ(last_paths, forwarded.data);
    }
}

TEST_F(PathDrawerTest, ConvexHullIsOfThePanicPointsInTheRecordsOwnColour)
{
    const cv::Scalar blue(255, 0, 0, 0);
    PathRecord record = SquareRecord(blue);
    record.panic_points = {{10, 10}, {30, 10}, {10, 30}};
    ConnectPathIn();
    Set<bool>("_draw_convex_hull", true);
    Set<bool>("_fill", true);
    EXPECT_EQ(231, DrawnPixels(record));  // the filled triangle, selected colour ignored
    Set<bool>("_fill", false);
    const PassableItem<VideoFrame> outline = Draw({record});
    EXPECT_EQ(60, PixelsOfColour(outline.data->image, blue));
    EXPECT_EQ(60, LitPixels(outline.data->image));
}

TEST_F(PathDrawerTest, EmptyHullDrawsNothing)
{
    ConnectPathIn();
    Set<bool>("_draw_convex_hull", true);
    for (bool fill : {false, true}) {
        Set<bool>("_fill", fill);
        EXPECT_EQ(0, DrawnPixels(SquareRecord(cv::Scalar(255, 0, 0, 0)))) << fill;
    }
}

TEST_F(PathDrawerTest, PanicPointsAreGreenDots)
{
    PathRecord record = SquareRecord();
    record.panic_points = {{10, 10}, {40, 40}};
    ConnectPathIn();
    Set<bool>("_draw_panic_points", true);
    const PassableItem<VideoFrame> frame = Draw({record});
    EXPECT_EQ(2 * 37, PixelsOfColour(frame.data->image, cv::Scalar(0, 255, 0)));
    EXPECT_EQ(2 * 37, LitPixels(frame.data->image));
}

TEST_F(PathDrawerTest, RecordsWithFewerThanTwoPointsAreNeverDrawn)
{
    ConnectPathIn();
    for (const char* shape : {"_draw_bounding_box", "_draw_ellipse", "_draw_rotated_rectangle", "_draw_path",
                              "_draw_lines", "_draw_panic_points", "_draw_convex_hull"})
        Set<bool>(shape, true);
    PathRecord single = Record({{20, 20}});
    single.panic_points = {{20, 20}, {30, 20}, {20, 30}};
    EXPECT_EQ(0, DrawnPixels(single));
    EXPECT_EQ(0, DrawnPixels(Record({})));
}

TEST_F(PathDrawerTest, ColourFollowsTheColourType)
{
    const cv::Scalar own(10, 200, 30, 0);
    ConnectPathIn();
    Set<bool>("_draw_bounding_box", true);
    Set<cv::Scalar>("_selected_colour", kRed);

    Set<int>("_colour_type", 1);
    EXPECT_EQ(76, PixelsOfColour(Draw({SquareRecord(own)}).data->image, kRed));
    Set<int>("_colour_type", 2);
    EXPECT_EQ(76, PixelsOfColour(Draw({SquareRecord(own)}).data->image, own));

    // Random: a new colour for every record on every frame, in rand()'s order.
    Set<int>("_colour_type", 0);
    std::srand(17);
    std::vector<cv::Scalar> expected;
    for (int i = 0; i < 4; ++i)
        expected.push_back(RandomColour());
    std::srand(17);
    PathRecord left = Record({{2, 2}, {2, 10}, {10, 10}});
    PathRecord right = Record({{30, 30}, {30, 40}, {40, 40}});
    for (int frame = 0; frame < 2; ++frame) {
        const PassableItem<VideoFrame> drawn = Draw({left, right});
        const cv::Vec3b a = drawn.data->image.at<cv::Vec3b>(2, 2);
        const cv::Vec3b b = drawn.data->image.at<cv::Vec3b>(30, 30);
        const cv::Scalar ea = expected[2 * frame], eb = expected[2 * frame + 1];
        EXPECT_EQ(cv::Vec3b(ea[0], ea[1], ea[2]), a) << frame;
        EXPECT_EQ(cv::Vec3b(eb[0], eb[1], eb[2]), b) << frame;
    }
}

TEST_F(PathDrawerTest, ClearImageLeavesOnlyTheDrawnShapes)
{
    ConnectPathIn();
    Set<bool>("_draw_bounding_box", true);
    Set<bool>("_clear_image", true);
    Set<int>("_colour_type", 1);
    Set<cv::Scalar>("_selected_colour", kRed);
    auto paths = boost::make_shared<PathContainer>();
    paths->records = {SquareRecord()};
    path_in->PassData(PassableItem<PathContainer>(paths));
    PassableItem<VideoFrame> frame = BlackFrame();
    frame.data->image.setTo(cv::Scalar(90, 90, 90));
    pads.Pass(frame);
    EXPECT_EQ(76, LitPixels(frame.data->image));
    EXPECT_EQ(76, PixelsOfColour(frame.data->image, kRed));

    Set<cv::Scalar>("_cleared_colour", cv::Scalar(5, 6, 7, 0));
    Set<bool>("_draw_bounding_box", false);
    EXPECT_EQ(50 * 50, PixelsOfColour(Draw({SquareRecord()}).data->image, cv::Scalar(5, 6, 7)));
}

TEST_F(PathDrawerTest, EachFrameTakesOneContainerAndForwardsIt)
{
    ConnectPathIn();
    path_out->peer_element_id.Set("Sink_0");
    Draw({SquareRecord()});
    EXPECT_EQ(0, path_in->queue.Count());
    const PassableItem<PathContainer> forwarded = path_out->GetData();
    EXPECT_EQ(last_paths, forwarded.data);

    // Not connected downstream: the container goes no further.
    path_out->peer_element_id.Set("");
    Draw({SquareRecord()});
    EXPECT_EQ(0, path_out->queue.Count());
}

// Frames run while "Path In" is unconnected, then it is connected and the
// pipeline restarted, as the "connect" command does: frame k is drawn with container k.
TEST(PathDrawerPipelineTest, AfterConnectAndRestartFrameNIsDrawnWithContainerN)
{
    auto hub = boost::make_shared<ControlAndStatus>();
    auto frames = MakeElement<QueueSource>(hub, "Frames_0");
    auto drawer = MakeElement<PathDrawer>(hub, "Path Drawer_0");
    auto paths = MakeElement<NumberedPathSource>(hub, "Paths_0");
    auto sink = MakeElement<DrawnNumberSink>(hub, "Sink_0");
    boost::any_cast<ThreadSafeVariable<int>*>(drawer->settings.FindItem("_colour_type").value)->Set(2);
    boost::any_cast<ThreadSafeVariable<bool>*>(drawer->settings.FindItem("_draw_bounding_box").value)
        ->Set(true);
    ConnectionManager manager(hub);
    manager.Connect(frames->GetOutputs()[0], drawer->GetInputs()[0], nullptr, frames, drawer);
    manager.Connect(drawer->GetOutputs()[0], sink->GetInputs()[0], nullptr, drawer, sink);
    manager.StartAll();
    auto push = [&](std::int64_t number) {
        PassableItem<VideoFrame> item = BlackFrame();
        item.data->frame_number = number;
        frames->queue.Push(item);
    };
    push(-1);
    ASSERT_TRUE(WaitFor([&] { return sink->Pairs().size() == 1; }));
    EXPECT_EQ(-1, sink->Pairs()[0].second);

    bool connected = false;
    manager.Connect(paths->GetOutputs()[0], drawer->GetInputByName("Path In"), &connected, paths, drawer);
    ASSERT_TRUE(connected);
    manager.StartAll();
    // Container 0 has reached "Path In" before frame 0 goes in.
    ASSERT_TRUE(WaitFor([&] { return drawer->GetInputByName("Path In")->frame_count.Get() >= 1; }));
    const int count = 5;
    for (int k = 0; k < count; ++k)
        push(k);
    ASSERT_TRUE(WaitFor([&] { return sink->Pairs().size() == count + 1; }));
    manager.StopAll();
    const std::vector<std::pair<std::int64_t, int>> pairs = sink->Pairs();
    for (int k = 0; k < count; ++k) {
        EXPECT_EQ(k, pairs[k + 1].first);
        EXPECT_EQ(k, pairs[k + 1].second) << "frame " << k << " was drawn with another container";
    }
}

// Wiring "Path In" before the frames, or deleting the frame feed, must not stop the whole
// pipeline: the containers come from a Contour Detector on a branch of the Tee.
TEST(PathDrawerPipelineTest, ALonePathInLetsTheRestOfThePipelineRun)
{
    teebranch::ExpectALoneExtraInputLetsTheTeeRun<PathDrawer>(
        "Path Drawer_0", "input",
        [](teebranch::TeeBranch& pipeline, const boost::shared_ptr<PathDrawer>& drawer) {
            auto contours = pipeline.Add<ContourDetectorElement>("Contour Detector_0");
            pipeline.Connect(pipeline.tee, "cloned output 0", contours, "input");
            pipeline.Connect(contours, "Path Output", drawer, "Path In");
        });
}

}  // namespace
