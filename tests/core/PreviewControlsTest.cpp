#include "core/ControlAndStatus.h"
#include "core/CoordinateMapper.h"
#include "core/CustomException.h"
#include "core/CvToQtRescaler.h"
#include "core/OpenCvToQtConversions.h"
#include "core/PreviewControls.h"
#include "core/PreviewSettings.h"
#include "core/WorkerPool.h"
#include "support/LogCapture.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include <atomic>
#include <condition_variable>
#include <limits>
#include <memory>
#include <mutex>
#include <vector>

namespace {

// Keeps every worker of the global pool busy until released, so a test decides when posted tasks run.
// The blocking tasks share the state: a released worker still relocks its mutex after the blocker is gone.
class PoolBlocker {
public:
    PoolBlocker() : state_(std::make_shared<State>())
    {
        for (int i = 0; i < GlobalWorkerPool().WorkerCount(); ++i) {
            GlobalWorkerPool().Post([state = state_] {
                ++state->started;
                std::unique_lock<std::mutex> lock(state->mutex);
                state->released.wait(lock, [&] { return state->open; });
            });
        }
        EXPECT_TRUE(testsupport::WaitFor(
            [this] { return state_->started.load() == GlobalWorkerPool().WorkerCount(); }));
    }
    ~PoolBlocker() { Release(); }
    void Release()
    {
        std::lock_guard<std::mutex> lock(state_->mutex);
        state_->open = true;
        state_->released.notify_all();
    }

private:
    struct State {
        std::atomic<int> started{0};
        std::mutex mutex;  // guards open
        std::condition_variable released;
        bool open = false;
    };
    std::shared_ptr<State> state_;
};

// Waits until every task posted before this call has run: tasks start in posting order, so once every
// worker is inside a blocking task at the same time, none is still running an earlier one.
void DrainPool()
{
    PoolBlocker blocker;
}

class PreviewControlsTest : public testing::Test {
protected:
    testsupport::ScopedHome home_;
    boost::shared_ptr<ControlAndStatus> hub_ = boost::make_shared<ControlAndStatus>();
    PreviewControls preview_{hub_};

    bool WaitReady()
    {
        return testsupport::WaitFor([this] { return preview_.IsImageReady(); });
    }
};

cv::Mat Gradient(int rows, int cols)
{
    cv::Mat image(rows, cols, CV_8UC3);
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < cols; ++x) {
            image.at<cv::Vec3b>(y, x) =
                cv::Vec3b(static_cast<uchar>(x % 256), static_cast<uchar>(y % 256), 7);
        }
    }
    return image;
}

}  // namespace

struct RescaleCase {
    const char* label;
    cv::Mat source;
    int width;
    QSize size;
    QRgb pixel;  // every pixel of a uniform source
};

// Shrinks and converts at once, as the preview and the display do on their two threads.
boost::shared_ptr<QImage> Rescale(CvToQtRescaler& rescaler, const cv::Mat& source)
{
    EXPECT_TRUE(rescaler.Shrink(source));
    return rescaler.Convert();
}

TEST(CvToQtRescalerTest, RescalesEachSupportedTypeToThePaintedFormat)
{
    const std::vector<RescaleCase> cases = {
        {"grey", cv::Mat(480, 640, CV_8UC1, cv::Scalar(77)), 320, QSize(320, 240), qRgb(77, 77, 77)},
        {"colour", cv::Mat(100, 200, CV_8UC3, cv::Scalar(10, 20, 30)), 50, QSize(50, 25), qRgb(30, 20, 10)},
        {"float grey", cv::Mat(30, 90, CV_32FC1, cv::Scalar(99.6)), 30, QSize(30, 10), qRgb(100, 100, 100)},
        {"float colour", cv::Mat(40, 40, CV_32FC3, cv::Scalar(1.0, 2.0, 300.0)), 20, QSize(20, 20),
         qRgb(255, 2, 1)},
        {"truncated height", cv::Mat(3, 4, CV_8UC1, cv::Scalar(1)), 5, QSize(5, 3), qRgb(1, 1, 1)},
        {"16-bit grey", cv::Mat(40, 80, CV_16UC1, cv::Scalar(200 * 257)), 40, QSize(40, 20),
         qRgb(200, 200, 200)},
        {"16-bit colour", cv::Mat(40, 40, CV_16UC3, cv::Scalar(257, 514, 65535)), 20, QSize(20, 20),
         qRgb(255, 2, 1)},
        {"colour with alpha", cv::Mat(40, 40, CV_8UC4, cv::Scalar(10, 20, 30, 0)), 20, QSize(20, 20),
         qRgb(30, 20, 10)},
        {"16-bit colour with alpha", cv::Mat(40, 40, CV_16UC4, cv::Scalar(0, 65535, 257, 9)), 20,
         QSize(20, 20), qRgb(1, 255, 0)},
        {"float colour with alpha", cv::Mat(40, 40, CV_32FC4, cv::Scalar(5.0, 6.0, 7.0, 1.0)), 20,
         QSize(20, 20), qRgb(7, 6, 5)},
    };
    for (bool high_quality : {false, true}) {
        for (const RescaleCase& c : cases) {
            SCOPED_TRACE(std::string(c.label) + (high_quality ? " cubic" : " nearest"));
            CvToQtRescaler rescaler;
            rescaler.SetWidth(c.width, c.source.size());
            rescaler.SetHighQuality(high_quality);
            const boost::shared_ptr<QImage> image = Rescale(rescaler, c.source);
            ASSERT_TRUE(image);
            EXPECT_EQ(image->size(), c.size);
            // What the widgets paint without a conversion; every pixel opaque.
            EXPECT_EQ(image->format(), QImage::Format_RGB32);
            EXPECT_EQ(image->pixel(0, 0), c.pixel);
            EXPECT_EQ(image->pixel(c.size.width() - 1, c.size.height() - 1), c.pixel);
        }
    }
}

TEST(CvToQtRescalerTest, KeepsPixelPositionsWithNearestNeighbour)
{
    CvToQtRescaler rescaler;
    rescaler.SetSize(200, 100);
    const QImage image = *Rescale(rescaler, Gradient(100, 200));
    EXPECT_EQ(image.pixel(150, 60), qRgb(7, 60, 150));
}

TEST(CvToQtRescalerTest, UnsupportedTypeGivesANullImage)
{
    for (int type : {CV_8UC2, CV_16SC1, CV_32SC3, CV_64FC1}) {
        CvToQtRescaler rescaler;
        rescaler.SetWidth(5, cv::Size(10, 10));
        const boost::shared_ptr<QImage> image = Rescale(rescaler, cv::Mat(10, 10, type, cv::Scalar(1)));
        ASSERT_TRUE(image) << type;
        EXPECT_TRUE(image->isNull()) << type;
    }
}

TEST(CvToQtRescalerTest, NoImageBeforeShrinking)
{
    CvToQtRescaler rescaler;
    EXPECT_FALSE(rescaler.Convert());
}

TEST(CvToQtRescalerTest, ReadsItsSourceOnlyWhenShrinking)
{
    cv::Mat source(10, 10, CV_8UC1, cv::Scalar(5));
    CvToQtRescaler rescaler;
    rescaler.SetWidth(10, source.size());
    ASSERT_TRUE(rescaler.Shrink(source));
    source.setTo(200);
    EXPECT_EQ(qRed(rescaler.Convert()->pixel(3, 3)), 5);
}

TEST(CvToQtRescalerTest, HeightFollowsTheAspectRatio)
{
    EXPECT_EQ(CvToQtRescaler::HeightForWidth(200, cv::Size(640, 480)), 150);
    EXPECT_EQ(CvToQtRescaler::HeightForWidth(300, cv::Size(3840, 2160)), 168);
    EXPECT_EQ(CvToQtRescaler::HeightForWidth(300, cv::Size(0, 2160)), 0);
}

// Counts the bytes of every image made and alive, for tests of what an object takes and keeps.
class CountingAllocator : public cv::MatAllocator {
public:
    CountingAllocator() : base_(cv::Mat::getDefaultAllocator()) { cv::Mat::setDefaultAllocator(this); }
    ~CountingAllocator() override { cv::Mat::setDefaultAllocator(const_cast<cv::MatAllocator*>(base_)); }

    cv::UMatData* allocate(int dims, const int* sizes, int type, void* data, size_t* step,
                           cv::AccessFlag flags, cv::UMatUsageFlags usage) const override
    {
        cv::UMatData* block = base_->allocate(dims, sizes, type, data, step, flags, usage);
        if (block) {
            block->currAllocator = this;
            live_bytes_ += block->size;
            made_bytes_ += block->size;
        }
        return block;
    }
    bool allocate(cv::UMatData* block, cv::AccessFlag flags, cv::UMatUsageFlags usage) const override
    {
        return base_->allocate(block, flags, usage);
    }
    void deallocate(cv::UMatData* block) const override
    {
        if (block) {
            live_bytes_ -= block->size;
            block->currAllocator = base_;
        }
        base_->deallocate(block);
    }
    std::int64_t LiveBytes() const { return live_bytes_.load(); }
    std::int64_t MadeBytes() const { return made_bytes_.load(); }

private:
    const cv::MatAllocator* base_;
    mutable std::atomic<std::int64_t> live_bytes_{0};
    mutable std::atomic<std::int64_t> made_bytes_{0};
};

// A 4K frame costs the thread that shows it a buffer of at most twice the target's size, made
// once; the smoothing step keeps its own target-sized buffer.
TEST(CvToQtRescalerTest, TakesOnlyTargetSizedBuffersAndKeepsThem)
{
    const cv::Mat frame(2160, 3840, CV_8UC3, cv::Scalar(1, 2, 3));
    for (bool high_quality : {false, true}) {
        SCOPED_TRACE(high_quality ? "cubic" : "nearest");
        const std::int64_t picked = (high_quality ? 600 * 336 : 300 * 168) * 3;
        const std::int64_t smoothed = high_quality ? 300 * 168 * 3 : 0;
        const CountingAllocator counter;
        CvToQtRescaler rescaler;
        rescaler.SetWidth(300, frame.size());
        rescaler.SetHighQuality(high_quality);
        ASSERT_TRUE(rescaler.Shrink(frame));
        EXPECT_EQ(counter.MadeBytes(), picked);
        EXPECT_EQ(rescaler.Convert()->size(), QSize(300, 168));
        const uchar* buffer = rescaler.Buffer().data;
        ASSERT_TRUE(rescaler.Shrink(frame));
        EXPECT_EQ(rescaler.Buffer().data, buffer);
        EXPECT_EQ(rescaler.Convert()->size(), QSize(300, 168));
        EXPECT_EQ(counter.MadeBytes(), picked + smoothed);
        EXPECT_EQ(rescaler.GetSourceSize(), cv::Size(3840, 2160));
    }
}

TEST(CvToQtRescalerTest, TargetWithoutAreaIsRefused)
{
    for (const cv::Size target : {cv::Size(0, 10), cv::Size(10, 0)}) {
        CvToQtRescaler rescaler;
        rescaler.SetSize(target.width, target.height);
        EXPECT_FALSE(rescaler.Shrink(cv::Mat(10, 10, CV_8UC1)));
        EXPECT_FALSE(rescaler.Convert());
    }
}

struct MapCase {
    cv::Size image;
    int widget_width;
    int widget_height;
    cv::Point2d widget_point;
    cv::Point2d image_point;
};

TEST(CoordinateMapperTest, MapsBetweenWidgetAndImage)
{
    const std::vector<MapCase> cases = {
        {cv::Size(640, 480), 320, 240, {160, 120}, {320, 240}},
        {cv::Size(100, 50), 200, 200, {50, 50}, {25, 12.5}},
        {cv::Size(10, 10), 10, 10, {3.5, 4.25}, {3.5, 4.25}},
    };
    for (const MapCase& c : cases) {
        CoordinateMapper mapper;
        mapper.SetImageSize(c.image);
        mapper.SetWidgetSize(c.widget_width, c.widget_height);
        const cv::Point2d to_image = mapper.WidgetToImage(c.widget_point);
        EXPECT_DOUBLE_EQ(to_image.x, c.image_point.x);
        EXPECT_DOUBLE_EQ(to_image.y, c.image_point.y);
        const cv::Point2d to_widget = mapper.ImageToWidget(c.image_point);
        EXPECT_DOUBLE_EQ(to_widget.x, c.widget_point.x);
        EXPECT_DOUBLE_EQ(to_widget.y, c.widget_point.y);
    }
}

TEST(CoordinateMapperTest, IntegerMappingTruncates)
{
    CoordinateMapper mapper;
    mapper.SetImageSize(cv::Size(100, 100));
    mapper.SetWidgetSize(30, 30);
    EXPECT_EQ(mapper.WidgetToImagePoint(cv::Point(10, 20)), cv::Point(33, 66));
}

TEST(CoordinateMapperTest, SideOfSizeZeroMapsToZero)
{
    CoordinateMapper mapper;
    mapper.SetImageSize(cv::Size(0, 100));
    mapper.SetWidgetSize(50, 0);
    const cv::Point2d to_image = mapper.WidgetToImage({10, 10});
    EXPECT_EQ(to_image, cv::Point2d(0, 0));
    EXPECT_EQ(mapper.WidgetToImagePoint(cv::Point(10, 10)), cv::Point(0, 0));
    EXPECT_EQ(mapper.ImageToWidget({10, 10}), cv::Point2d(0, 0));
}

TEST(CoordinateMapperTest, PointConversions)
{
    EXPECT_EQ(ToDoublePoint(QPoint(3, -4)), cv::Point2d(3.0, -4.0));
    EXPECT_EQ(ToIntPoint(cv::Point2d(3.9, -4.9)), QPoint(3, -4));
    EXPECT_EQ(ToIntPoint(cv::Point2d(std::numeric_limits<double>::infinity(), 1e300)), QPoint(0, 0));
}

TEST(OpenCvToQtConversionsTest, ConvertsFramesToRgb)
{
    struct Case {
        cv::Mat source;
        QRgb pixel;
    };
    const std::vector<Case> cases = {
        {cv::Mat(4, 6, CV_8UC1, cv::Scalar(40)), qRgb(40, 40, 40)},
        {cv::Mat(4, 6, CV_8UC3, cv::Scalar(1, 2, 3)), qRgb(3, 2, 1)},
        {cv::Mat(4, 6, CV_32FC1, cv::Scalar(12.0)), qRgb(12, 12, 12)},
        {cv::Mat(4, 6, CV_32FC3, cv::Scalar(4.0, 5.0, 6.0)), qRgb(6, 5, 4)},
        {cv::Mat(4, 6, CV_16UC1, cv::Scalar(65535)), qRgb(255, 255, 255)},
        {cv::Mat(4, 6, CV_16UC3, cv::Scalar(257, 0, 128 * 257)), qRgb(128, 0, 1)},
        {cv::Mat(4, 6, CV_8UC4, cv::Scalar(1, 2, 3, 0)), qRgb(3, 2, 1)},
        {cv::Mat(4, 6, CV_16UC4, cv::Scalar(0, 0, 65535, 65535)), qRgb(255, 0, 0)},
    };
    for (const Case& c : cases) {
        OpenCvToQtConversions conversion(c.source);
        conversion.ConvertToRgb();
        const QImage image = conversion.GetQImage().copy();
        ASSERT_EQ(image.size(), QSize(6, 4));
        EXPECT_EQ(image.pixel(5, 3), c.pixel);
    }
}

TEST(OpenCvToQtConversionsTest, LeavesTheFrameAndRefusesOtherTypes)
{
    cv::Mat frame(4, 4, CV_32FC1, cv::Scalar(2.5));
    OpenCvToQtConversions conversion(frame);
    conversion.ConvertToRgb();
    EXPECT_EQ(frame.type(), CV_32FC1);
    EXPECT_FLOAT_EQ(frame.at<float>(0, 0), 2.5f);

    cv::Mat deep(4, 4, CV_16UC3, cv::Scalar(1000, 2000, 3000));
    OpenCvToQtConversions deep_conversion(deep);
    deep_conversion.ConvertToRgb();
    EXPECT_EQ(deep.type(), CV_16UC3);
    EXPECT_EQ(deep.at<cv::Vec3w>(3, 3), cv::Vec3w(1000, 2000, 3000));

    OpenCvToQtConversions other(cv::Mat(4, 4, CV_16SC1));
    other.ConvertToRgb();
    EXPECT_TRUE(other.GetQImage().isNull());
}

TEST(OpenCvToQtConversionsTest, RgbFormsAreEightSixteenBitAndFloatWithOneThreeOrFourChannels)
{
    for (int depth : {CV_8U, CV_8S, CV_16U, CV_16S, CV_32S, CV_32F, CV_64F}) {
        for (int channels : {1, 2, 3, 4, 5}) {
            const bool depth_shown = depth == CV_8U || depth == CV_16U || depth == CV_32F;
            const bool channels_shown = channels != 2 && channels != 5;
            EXPECT_EQ(HasRgbForm(CV_MAKETYPE(depth, channels)), depth_shown && channels_shown)
                << cv::typeToString(CV_MAKETYPE(depth, channels));
        }
    }
}

TEST(OpenCvToQtConversionsTest, ColoursSwapRedAndBlue)
{
    EXPECT_EQ(ScalarToQColor(cv::Scalar(255, 0, 0, 0)), QColor(0, 0, 255, 255));
    EXPECT_EQ(QColorToScalar(QColor(255, 0, 0)), cv::Scalar(0, 0, 255, 0));
    EXPECT_EQ(ScalarToQColor(cv::Scalar(10.9, 20.2, 30.7)), QColor(30, 20, 10));
}

TEST_F(PreviewControlsTest, RequestedWidthGivesImageAndMapping)
{
    preview_.RequestPreview(320);
    EXPECT_TRUE(preview_.IsPreviewWanted());
    preview_.SubmitFrame(cv::Mat(480, 640, CV_8UC3, cv::Scalar(0, 0, 255)));
    EXPECT_FALSE(preview_.IsPreviewWanted());
    ASSERT_TRUE(WaitReady());
    const boost::shared_ptr<QImage> image = preview_.GetImage();
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), QSize(320, 240));
    EXPECT_EQ(image->pixel(100, 100), qRgb(255, 0, 0));
    EXPECT_FALSE(preview_.IsImageReady());
    EXPECT_EQ(preview_.GetImageSize(), cv::Size(640, 480));

    preview_.SetPoint(QPoint(160, 120));
    EXPECT_EQ(preview_.selected_point.Get(), cv::Point2d(320, 240));
    EXPECT_FALSE(preview_.clicked.Get());
    preview_.SetClickedPoint(QPoint(80, 60));
    EXPECT_EQ(preview_.selected_point.Get(), cv::Point2d(160, 120));
    EXPECT_TRUE(preview_.clicked.Get());
}

// The frame's thread reads a 4K frame into a buffer of at most twice the preview's size, the
// same one each frame, and the image it leads to is in the widget's size and painted format.
TEST_F(PreviewControlsTest, AFramesThreadTakesOnlyAPreviewSizedBufferOnce)
{
    const cv::Mat frame(2160, 3840, CV_8UC3, cv::Scalar(0, 255, 0));
    const CountingAllocator counter;
    PreviewControls preview(hub_);  // after the counter: its buffers go first
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        {
            PoolBlocker blocker;  // the conversion waits: only the frame's thread works
            preview.RequestPreview(300);
            const std::int64_t before = counter.MadeBytes();
            preview.SubmitFrame(frame);
            EXPECT_EQ(counter.MadeBytes() - before, round == 0 ? 600 * 336 * 3 : 0);
        }
        ASSERT_TRUE(testsupport::WaitFor([&] { return preview.IsImageReady(); }));
        const boost::shared_ptr<QImage> image = preview.GetImage();
        ASSERT_TRUE(image);
        EXPECT_EQ(image->size(), QSize(300, 168));
        EXPECT_EQ(image->format(), QImage::Format_RGB32);
        EXPECT_EQ(image->pixel(150, 84), qRgb(0, 255, 0));
    }
}

// A widget shown at twice its size (a zoomed editor) gets the pixels it covers, while its
// clicks still map from its own coordinates.
TEST_F(PreviewControlsTest, PixelRatioWidensTheImageNotTheMapping)
{
    preview_.RequestPreview(100, 2.0);
    preview_.SubmitFrame(cv::Mat(480, 640, CV_8UC3, cv::Scalar(1, 2, 3)));
    ASSERT_TRUE(WaitReady());
    EXPECT_EQ(preview_.GetImage()->size(), QSize(200, 150));
    preview_.SetPoint(QPoint(50, 60));  // 100 x 75 widget pixels for 640 x 480
    EXPECT_EQ(preview_.selected_point.Get(), cv::Point2d(320, 384));
}

TEST_F(PreviewControlsTest, OneRequestRescalesOnlyTheFirstFrame)
{
    preview_.RequestPreview(10);
    preview_.SubmitFrame(cv::Mat(10, 10, CV_8UC1, cv::Scalar(1)));
    preview_.SubmitFrame(cv::Mat(10, 10, CV_8UC1, cv::Scalar(2)));
    ASSERT_TRUE(WaitReady());
    preview_.SubmitFrame(cv::Mat(10, 10, CV_8UC1, cv::Scalar(3)));
    DrainPool();
    EXPECT_EQ(qRed(preview_.GetImage()->pixel(0, 0)), 1);
}

TEST_F(PreviewControlsTest, FramesDuringARescaleAreNotTaken)
{
    preview_.RequestPreview(10);
    {
        PoolBlocker blocker;
        preview_.SubmitFrame(cv::Mat(10, 10, CV_8UC1, cv::Scalar(1)));
        preview_.RequestPreview(10);
        preview_.SubmitFrame(cv::Mat(10, 10, CV_8UC1, cv::Scalar(2)));
        EXPECT_TRUE(preview_.IsPreviewWanted());
    }
    ASSERT_TRUE(WaitReady());
    EXPECT_EQ(qRed(preview_.GetImage()->pixel(0, 0)), 1);
    // The request made meanwhile is served by the next frame.
    preview_.SubmitFrame(cv::Mat(10, 10, CV_8UC1, cv::Scalar(3)));
    ASSERT_TRUE(WaitReady());
    EXPECT_EQ(qRed(preview_.GetImage()->pixel(0, 0)), 3);
}

TEST_F(PreviewControlsTest, RequestWhileReadyIsServedByTheNextFrame)
{
    preview_.RequestPreview(10);
    preview_.SubmitFrame(cv::Mat(10, 10, CV_8UC1, cv::Scalar(1)));
    ASSERT_TRUE(WaitReady());
    preview_.RequestPreview(20);
    preview_.SubmitFrame(cv::Mat(10, 10, CV_8UC1, cv::Scalar(4)));
    ASSERT_TRUE(WaitReady());
    const boost::shared_ptr<QImage> image = preview_.GetImage();
    EXPECT_EQ(image->size(), QSize(20, 20));
    EXPECT_EQ(qRed(image->pixel(0, 0)), 4);
}

TEST_F(PreviewControlsTest, SizeChangeIsReportedOnce)
{
    EXPECT_FALSE(preview_.TakeSizeChanged());
    preview_.RequestPreview(10);
    preview_.SubmitFrame(cv::Mat(10, 20, CV_8UC1));
    EXPECT_TRUE(preview_.TakeSizeChanged());
    EXPECT_FALSE(preview_.TakeSizeChanged());
    ASSERT_TRUE(WaitReady());
    preview_.RequestPreview(10);
    preview_.SubmitFrame(cv::Mat(10, 20, CV_8UC1));
    EXPECT_FALSE(preview_.TakeSizeChanged());
}

TEST_F(PreviewControlsTest, DisabledPreviewNeverRescales)
{
    preview_.SetDisabled(true);
    EXPECT_FALSE(preview_.IsEnabled());
    preview_.RequestPreview(10);
    preview_.SubmitFrame(cv::Mat(10, 10, CV_8UC1));
    DrainPool();
    EXPECT_FALSE(preview_.IsImageReady());
    EXPECT_TRUE(preview_.IsPreviewWanted());
    EXPECT_FALSE(preview_.TakeSizeChanged());
}

TEST_F(PreviewControlsTest, EmptyFrameIsIgnored)
{
    preview_.RequestPreview(10);
    preview_.SubmitFrame(cv::Mat());
    EXPECT_TRUE(preview_.IsPreviewWanted());
    preview_.SubmitFrame(cv::Mat(10, 10, CV_8UC1, cv::Scalar(6)));
    ASSERT_TRUE(WaitReady());
    EXPECT_EQ(qRed(preview_.GetImage()->pixel(0, 0)), 6);
}

// Such a frame gives a null image, and the log names its type once, not once a frame.
TEST_F(PreviewControlsTest, FramesThatCannotBeShownAreNamedOnceAType)
{
    LogCapture log;
    for (int type : {CV_16SC1, CV_16SC1, CV_8UC2, CV_16SC1, CV_8UC3, CV_16UC4}) {
        preview_.RequestPreview(10);
        preview_.SubmitFrame(cv::Mat(10, 10, type, cv::Scalar(1)));
        ASSERT_TRUE(WaitReady());
        EXPECT_EQ(preview_.GetImage()->isNull(), type == CV_16SC1 || type == CV_8UC2) << type;
    }
    std::vector<std::string> warnings;
    for (const std::string& line : log.Messages()) {
        if (line.find("cannot show") != std::string::npos)
            warnings.push_back(line);
    }
    EXPECT_EQ(warnings, std::vector<std::string>({"Preview cannot show frames of type CV_16SC1",
                                                  "Preview cannot show frames of type CV_8UC2"}));
    EXPECT_NE(log.Text().find("[WARNING]"), std::string::npos);
}

TEST_F(PreviewControlsTest, FailedRescaleDoesNotStopLaterPreviews)
{
    preview_.RequestPreview(0);
    preview_.SubmitFrame(cv::Mat(10, 10, CV_8UC1, cv::Scalar(1)));
    DrainPool();
    EXPECT_FALSE(preview_.IsImageReady());
    preview_.RequestPreview(10);
    preview_.SubmitFrame(cv::Mat(10, 10, CV_8UC1, cv::Scalar(8)));
    ASSERT_TRUE(WaitReady());
    EXPECT_EQ(qRed(preview_.GetImage()->pixel(0, 0)), 8);
}

TEST_F(PreviewControlsTest, NoImageBeforeAnyRescale)
{
    EXPECT_FALSE(preview_.GetImage());
}

TEST_F(PreviewControlsTest, ReadsTheHighQualityFlagOfThePreviewSettings)
{
    hub_->GetSharedControl<PreviewSettings>("")->high_quality_rescaling.Set(false);
    // Nearest neighbour keeps a one-pixel line sharp at double size; cubic would blur it.
    cv::Mat source(10, 10, CV_8UC1, cv::Scalar(0));
    source.col(5).setTo(255);
    preview_.RequestPreview(20);
    preview_.SubmitFrame(source);
    ASSERT_TRUE(WaitReady());
    const QImage image = *preview_.GetImage();
    EXPECT_EQ(qRed(image.pixel(9, 5)), 0);
    EXPECT_EQ(qRed(image.pixel(10, 5)), 255);
    EXPECT_EQ(qRed(image.pixel(12, 5)), 0);
}

TEST(PreviewControlsLifetimeTest, DestroyedWhileItsRescaleWaitsIsSafe)
{
    testsupport::ScopedHome home;
    auto hub = boost::make_shared<ControlAndStatus>();
    {
        PoolBlocker blocker;
        {
            PreviewControls preview(hub);
            preview.RequestPreview(10);
            preview.SubmitFrame(cv::Mat(10, 10, CV_8UC3));
        }
        blocker.Release();
    }
    DrainPool();
    // The orphaned rescale kept nothing of the preview, and the pool still serves.
    EXPECT_EQ(hub.use_count(), 1);
    PreviewControls later(hub);
    later.RequestPreview(10);
    later.SubmitFrame(cv::Mat(10, 10, CV_8UC3, cv::Scalar(7, 7, 7)));
    ASSERT_TRUE(testsupport::WaitFor([&] { return later.IsImageReady(); }));
    EXPECT_EQ(qRed(later.GetImage()->pixel(0, 0)), 7);
}

TEST(PreviewControlsLifetimeTest, RefusesAMissingHub)
{
    EXPECT_THROW(PreviewControls preview{boost::shared_ptr<ControlAndStatus>()}, CustomException);
}
