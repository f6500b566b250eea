// The preview widget: fed by a running pipeline, and driven by hand through the
// element side of its preview controls.
#include "ui/display/PreviewWidget.h"

#include "MouseEvents.h"
#include "PipelineFixture.h"
#include "core/PreviewControls.h"
#include "core/PreviewSettings.h"
#include "core/StopWatch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

using namespace testsupport;

namespace {

TEST(PreviewWidgetFormulaTest, RequestIntervalHoldsTheRateWithinOneToSixty)
{
    const struct {
        double rate;
        double interval;
    } cases[] = {
        {25.0, 0.04},
        {1.0, 1.0},
        {60.0, 1.0 / 60.0},
        {0.0, 1.0},
        {-3.0, 1.0},
        {500.0, 1.0 / 60.0},
        {std::numeric_limits<double>::quiet_NaN(), 1.0},
        {std::numeric_limits<double>::infinity(), 1.0 / 60.0},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(PreviewWidget::RequestInterval(c.rate), c.interval) << c.rate;
}

TEST(PreviewWidgetFormulaTest, HeightFollowsTheAspectAndNeverDividesByZero)
{
    const struct {
        int width, image_width, image_height, height;
    } cases[] = {
        {200, 640, 480, 150}, {200, 480, 640, 266}, {1, 640, 480, 0},
        {200, 0, 480, 0},     {200, 640, 0, 0},     {200, -4, 3, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PreviewWidget::HeightForWidth(c.width, c.image_width, c.image_height), c.height)
            << c.image_width << "x" << c.image_height;
}

// A blur in a running pipeline: the panel's preview 200 pixels wide shows the picture at 200 x 150.
TEST(PreviewWidgetPipelineTest, ShowsThePictureAtItsWidthAndAspect)
{
    PipelineFixture pipeline;
    const std::vector<std::string> ids = pipeline.Run({"Blur"});
    auto* controls = pipeline.Setting<PreviewControls*>(ids[1], "_preview_controls");
    PreviewWidget preview(pipeline.Hub(), controls, nullptr);
    preview.resize(200, 40);
    preview.show();
    ASSERT_TRUE(WaitForGui([&] {
        const QImage shot = preview.grab().toImage();
        return preview.height() == 150 && shot.height() == 150 && Near(shot.pixel(5, 5), kLeftColour) &&
               Near(shot.pixel(194, 144), kRightColour) && Near(shot.pixel(95, 75), kLeftColour) &&
               Near(shot.pixel(105, 75), kRightColour);
    }));
    EXPECT_EQ(preview.width(), 200);
}

// Pictures of 16 bits a channel, with an alpha channel, or both (as image tools often write
// them) show in the reader's preview and the blur's. Mirrored, so that they differ from the
// picture the pipeline started with.
TEST(PreviewWidgetPipelineTest, ShowsDeepAndAlphaPicturesInTheReaderAndTheBlur)
{
    for (int type : {CV_16UC3, CV_8UC4, CV_16UC4}) {
        SCOPED_TRACE(cv::typeToString(type));
        PipelineFixture pipeline;
        const std::vector<std::string> ids = pipeline.Run({"Blur"});
        cv::Mat mirrored;
        cv::flip(SplitPicture(type), mirrored, 1);
        pipeline.ReadPicture(ids[0], mirrored, "mirrored.png");
        PreviewWidget reader(pipeline.Hub(), pipeline.Setting<PreviewControls*>(ids[0], "_preview"), nullptr);
        PreviewWidget blur(pipeline.Hub(), pipeline.Setting<PreviewControls*>(ids[1], "_preview_controls"),
                           nullptr);
        for (PreviewWidget* preview : {&reader, &blur}) {
            preview->resize(200, 40);
            preview->show();
        }
        const auto shows_mirrored = [](PreviewWidget& preview) {
            const QImage shot = preview.grab().toImage();
            return shot.height() == 150 && Near(shot.pixel(5, 75), kRightColour) &&
                   Near(shot.pixel(194, 75), kLeftColour);
        };
        EXPECT_TRUE(WaitForGui([&] { return shows_mirrored(reader) && shows_mirrored(blur); }));
    }
}

class PreviewWidgetTest : public ::testing::Test {
protected:
    PreviewWidgetTest()
    {
        settings_ = hub_->GetSharedControl<PreviewSettings>("");
        settings_->max_preview_framerate.Set(60.0);
    }

    // Serves the pending request with a frame of the given size, as an element thread would.
    void Serve(PreviewWidget& preview, cv::Size size)
    {
        ASSERT_TRUE(WaitForGui([&] { return controls_.IsPreviewWanted(); }));
        controls_.SubmitFrame(cv::Mat(size, CV_8UC3, cv::Scalar(0, 255, 0)));
        const int height = PreviewWidget::HeightForWidth(preview.width(), size.width, size.height);
        ASSERT_TRUE(WaitForGui([&] {
            return preview.height() == height &&
                   Near(PixelOf(&preview, preview.width() / 2, height / 2), QColor(0, 255, 0));
        }));
    }

    std::unique_ptr<PreviewWidget> Shown(int width, int height)
    {
        auto preview = std::make_unique<PreviewWidget>(hub_, &controls_, nullptr);
        preview->resize(width, height);
        preview->show();
        return preview;
    }

    void Tick(PreviewWidget& preview) { QMetaObject::invokeMethod(&preview, "CheckForImages"); }

    ScopedHome home_;
    boost::shared_ptr<ControlAndStatus> hub_ = boost::make_shared<ControlAndStatus>();
    boost::shared_ptr<PreviewSettings> settings_;
    PreviewControls controls_{hub_};
};

TEST_F(PreviewWidgetTest, AsksForNothingWhileHiddenOrWithoutWidth)
{
    PreviewWidget preview(hub_, &controls_, nullptr);
    preview.resize(200, 100);
    const StopWatch clock;
    while (clock.GetElapsedSeconds() < 0.05)
        Tick(preview);
    EXPECT_FALSE(controls_.IsPreviewWanted());

    preview.setFixedWidth(0);
    preview.show();
    const StopWatch shown;
    while (shown.GetElapsedSeconds() < 0.05)
        Tick(preview);
    EXPECT_FALSE(controls_.IsPreviewWanted());

    preview.setFixedWidth(200);
    EXPECT_TRUE(WaitForGui([&] { return controls_.IsPreviewWanted(); }));
}

// A rate of 0 read from a settings file would otherwise give an endless interval.
TEST_F(PreviewWidgetTest, ARateOutsideTheRangeStillRequests)
{
    settings_->max_preview_framerate.Set(0.0);
    const std::unique_ptr<PreviewWidget> preview = Shown(100, 100);
    EXPECT_TRUE(WaitForGui([&] { return controls_.IsPreviewWanted(); }, std::chrono::seconds(5)));
}

// At rate 1 the second request comes about a second after the first, and not while
// the first is pending.
TEST_F(PreviewWidgetTest, RequestsNoFasterThanTheRate)
{
    settings_->max_preview_framerate.Set(1.0);
    const std::unique_ptr<PreviewWidget> shown = Shown(64, 64);
    PreviewWidget& preview = *shown;
    ASSERT_TRUE(WaitForGui([&] { return controls_.IsPreviewWanted(); }, std::chrono::seconds(5)));
    const StopWatch since_first;
    Serve(preview, cv::Size(64, 48));
    ASSERT_TRUE(WaitForGui([&] { return controls_.IsPreviewWanted(); }, std::chrono::seconds(5)));
    EXPECT_GT(since_first.GetElapsedSeconds(), 0.9);
}

TEST_F(PreviewWidgetTest, KeepsTheHeightOfTheSourceAspect)
{
    const std::unique_ptr<PreviewWidget> shown = Shown(200, 10);
    PreviewWidget& preview = *shown;
    Serve(preview, cv::Size(640, 480));
    EXPECT_EQ(preview.height(), 150);
    EXPECT_TRUE(Near(PixelOf(&preview, 100, 75), QColor(0, 255, 0)));
}

// A press maps to image pixels and shows a cross; a drag moves the point, not the cross.
TEST_F(PreviewWidgetTest, ClickedPointsGoBackToTheElement)
{
    const std::unique_ptr<PreviewWidget> shown = Shown(320, 10);
    PreviewWidget& preview = *shown;
    Serve(preview, cv::Size(640, 480));
    ASSERT_EQ(preview.height(), 240);

    Press(&preview, QPoint(160, 120));
    EXPECT_TRUE(controls_.clicked.Get());
    EXPECT_EQ(controls_.selected_point.Get(), cv::Point2d(320, 240));
    const QImage shot = preview.grab().toImage();
    EXPECT_EQ(QColor(shot.pixel(165, 120)), QColor(Qt::black));
    EXPECT_EQ(QColor(shot.pixel(160, 115)), QColor(Qt::black));
    EXPECT_TRUE(Near(shot.pixel(170, 120), QColor(0, 255, 0)));

    controls_.clicked.Set(false);
    Move(&preview, QPoint(40, 60));
    EXPECT_EQ(controls_.selected_point.Get(), cv::Point2d(80, 120));
    EXPECT_FALSE(controls_.clicked.Get());
    EXPECT_EQ(QColor(PixelOf(&preview, 165, 120)), QColor(Qt::black));

    Press(&preview, QPoint(10, 10), Qt::RightButton);
    EXPECT_FALSE(controls_.clicked.Get());
}

// A frame that cannot be shown blanks the preview instead of leaving the last picture
// stretched over the new frame's shape.
TEST_F(PreviewWidgetTest, AFrameThatCannotBeShownBlanksThePreview)
{
    const std::unique_ptr<PreviewWidget> shown = Shown(200, 10);
    PreviewWidget& preview = *shown;
    Serve(preview, cv::Size(640, 480));
    ASSERT_TRUE(WaitForGui([&] { return controls_.IsPreviewWanted(); }));
    controls_.SubmitFrame(cv::Mat(480, 480, CV_16SC1, cv::Scalar(5)));
    EXPECT_TRUE(WaitForGui([&] {
        return preview.height() == 200 && !controls_.IsImageReady() &&
               !Near(PixelOf(&preview, 100, 100), QColor(0, 255, 0));
    }));
}

}  // namespace
