// The sub-image box editor over sub-image controls of its own, shown 1:1 on a 400 x 300 image.
#include "ui/display/SubImageSelectorWidget.h"

#include "support/LogCapture.h"
#include "MouseEvents.h"
#include "PipelineFixture.h"
#include "core/SubImageControls.h"

#include <gtest/gtest.h>

using namespace testsupport;

namespace {

QImage Filled(const QColor& colour)
{
    QImage image(400, 300, QImage::Format_RGB888);
    image.fill(colour);
    return image;
}

class SubImageSelectorWidgetTest : public ::testing::Test {
protected:
    SubImageSelectorWidgetTest()
    {
        controls_.image_size.Set(cv::Size(400, 300));
        widget_.resize(400, 300);
        widget_.show();
    }

    void Push(const QColor& colour)
    {
        controls_.image_pipe->Push(PassableItem<QImage>(boost::make_shared<QImage>(Filled(colour))));
    }

    void Tick() { QMetaObject::invokeMethod(&widget_, "SetImage"); }

    void Drag(QPoint from, QPoint to)
    {
        Press(&widget_, from);
        Move(&widget_, (from + to) / 2);
        Move(&widget_, to);
        Release(&widget_, to);
    }

    SubImageControls controls_;
    SubImageSelectorWidget widget_{&controls_, nullptr};
};

TEST_F(SubImageSelectorWidgetTest, ShowsTheNewestImageUnderTheBox)
{
    Push(Qt::red);
    Push(Qt::green);
    Push(Qt::yellow);
    Tick();
    EXPECT_FALSE(controls_.image_pipe->Pop().IsValid());
    const QImage shot = widget_.grab().toImage();
    EXPECT_EQ(QColor(shot.pixel(20, 20)), QColor(Qt::yellow));
    // The grey box at (100, 100) 100 x 100, its blue handle in the bottom-right corner.
    const QColor box(shot.pixel(120, 120));
    EXPECT_LT(box.red(), 255);
    EXPECT_EQ(box.red(), box.green());
    const QColor handle(shot.pixel(195, 195));
    EXPECT_GT(handle.blue(), handle.red());
    EXPECT_EQ(QColor(shot.pixel(205, 205)), QColor(Qt::yellow));
}

// Each image is scaled once when it arrives; painting again reuses it.
TEST_F(SubImageSelectorWidgetTest, ScalesOncePerImage)
{
    Push(Qt::red);
    Tick();
    const qint64 first = widget_.ScaledImage().cacheKey();
    widget_.grab();
    widget_.grab();
    EXPECT_EQ(widget_.ScaledImage().cacheKey(), first);
    Tick();
    EXPECT_EQ(widget_.ScaledImage().cacheKey(), first);
    Push(Qt::green);
    Tick();
    EXPECT_NE(widget_.ScaledImage().cacheKey(), first);
}

TEST_F(SubImageSelectorWidgetTest, DragsKeepTheBoxInsideTheImage)
{
    const struct {
        const char* what;
        QPoint from;
        QPoint to;
        cv::Rect box;
    } cases[] = {
        {"move", {150, 150}, {170, 130}, {120, 80, 100, 100}},
        {"move past the top left", {150, 150}, {-900, -900}, {0, 0, 100, 100}},
        {"move past the bottom right", {150, 150}, {900, 900}, {300, 200, 100, 100}},
        {"resize", {195, 195}, {245, 215}, {100, 100, 150, 120}},
        {"resize below the minimum", {195, 195}, {-500, -500}, {100, 100, 10, 10}},
        {"resize past the edge", {195, 195}, {900, 900}, {100, 100, 300, 200}},
        {"press outside the box", {20, 20}, {300, 250}, {100, 100, 100, 100}},
    };
    for (const auto& c : cases) {
        controls_.box.Set(cv::Rect(100, 100, 100, 100));
        Drag(c.from, c.to);
        EXPECT_EQ(controls_.box.Get(), c.box) << c.what;
    }
}

TEST_F(SubImageSelectorWidgetTest, IgnoresTheMouseWhileASizeHasNoArea)
{
    const cv::Size sizes[] = {{0, 300}, {400, 0}};
    for (const cv::Size& size : sizes) {
        controls_.image_size.Set(size);
        controls_.box.Set(cv::Rect(100, 100, 100, 100));
        Drag({150, 150}, {250, 250});
        EXPECT_EQ(controls_.box.Get(), cv::Rect(100, 100, 100, 100)) << size;
    }
    controls_.image_size.Set(cv::Size(400, 300));
    widget_.setFixedSize(0, 300);
    Drag({150, 150}, {250, 250});
    EXPECT_EQ(controls_.box.Get(), cv::Rect(100, 100, 100, 100));
}

TEST_F(SubImageSelectorWidgetTest, LogsTheBoxOncePerDrag)
{
    LogCapture log;
    Drag({150, 150}, {170, 130});
    Drag({215, 175}, {235, 195});
    int lines = 0;
    for (const std::string& message : log.Messages())
        lines += message.rfind("Sub image box", 0) == 0;
    EXPECT_EQ(lines, 2);
    EXPECT_TRUE(log.Contains("Sub image box 120, 80, 120 x 120"));
}

// With a widget twice the image size, a widget drag moves the box half as far.
TEST_F(SubImageSelectorWidgetTest, DragsAreMappedToImagePixels)
{
    widget_.resize(800, 600);
    QApplication::processEvents();
    Drag({300, 300}, {340, 260});
    EXPECT_EQ(controls_.box.Get(), cv::Rect(120, 80, 100, 100));
}

// A 16-bit picture with alpha, read by "Image Read", shows under the box of a running
// "Video In Video".
TEST(SubImageSelectorPipelineTest, ShowsADeepPictureWithAlpha)
{
    PipelineFixture pipeline;
    const std::vector<std::string> ids = pipeline.Run({"Video In Video"});
    cv::Mat mirrored;
    cv::flip(SplitPicture(CV_16UC4), mirrored, 1);
    pipeline.ReadPicture(ids[0], mirrored, "mirrored.png");
    SubImageSelectorWidget widget(pipeline.Setting<SubImageControls*>(ids[1], "_sub_image_controls"),
                                  nullptr);
    widget.resize(320, 240);
    widget.show();
    EXPECT_TRUE(WaitForGui([&] {
        const QImage shot = widget.grab().toImage();
        return Near(shot.pixel(10, 200), kRightColour) && Near(shot.pixel(310, 200), kLeftColour);
    }));
}

}  // namespace
