// The main display window fed by a running "Image Read" -> "Main Display" pipeline.
#include "ui/display/MainDisplayWidget.h"

#include "PipelineFixture.h"
#include "core/MainDisplayControls.h"

#include <QPointer>

#include <iterator>
#include <memory>
#include <string>
#include <gtest/gtest.h>

using namespace testsupport;

namespace {

class MainDisplayWidgetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ids_ = pipeline_.Run({"Main Display"});
        controls_ = *pipeline_.Setting<boost::shared_ptr<MainDisplayControls>*>(ids_[1], "_controls");
    }

    // Shows a window of the given size; waits until a frame of the matching size is shown.
    MainDisplayWidget* OpenAt(QSize size)
    {
        MainDisplayWidget* window = MainDisplayWidget::Show(pipeline_.Hub(), controls_);
        window->resize(size);
        return window;
    }

    PipelineFixture pipeline_;
    std::vector<std::string> ids_;
    boost::shared_ptr<MainDisplayControls> controls_;
};

TEST(MainDisplaySizeTest, ThePictureKeepsTheFrameAspectAndHasAnArea)
{
    const struct {
        QSize window;
        double aspect;
        QSize expected;
    } cases[] = {
        {{800, 400}, 640.0 / 480.0, {533, 400}},
        {{400, 800}, 640.0 / 480.0, {400, 300}},
        {{640, 480}, 640.0 / 480.0, {640, 480}},
        {{10, 10}, 1000.0, {10, 1}},
        {{10, 10}, 0.001, {1, 10}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MainDisplayWidget::DisplaySize(c.window, c.aspect), c.expected)
            << c.window.width() << "x" << c.window.height();
}

// What a person sees: the picture centred at its aspect ratio, black bars beside it.
TEST_F(MainDisplayWidgetTest, ShowsThePictureCentredAtTheWindowSize)
{
    const struct {
        QSize window;
        QRect picture;
    } cases[] = {
        {{800, 400}, {133, 0, 533, 400}},
        {{400, 800}, {0, 250, 400, 300}},
    };
    for (const auto& c : cases) {
        const QPointer<MainDisplayWidget> window = OpenAt(c.window);
        const QRect& p = c.picture;
        const int y = p.center().y();
        const int x = p.center().x();
        // Just inside the picture's edges, and just outside them (black bars or beyond).
        auto shows_picture = [&](const QImage& shot) {
            const bool bars = p.left() > 0 ? shot.pixel(p.left() - 3, y) == qRgb(0, 0, 0) &&
                                                 shot.pixel(p.right() + 3, y) == qRgb(0, 0, 0)
                                           : shot.pixel(x, p.top() - 3) == qRgb(0, 0, 0) &&
                                                 shot.pixel(x, p.bottom() + 3) == qRgb(0, 0, 0);
            return bars && Near(shot.pixel(p.left() + 3, y), kLeftColour) &&
                   Near(shot.pixel(p.right() - 3, y), kRightColour) &&
                   Near(shot.pixel(x - 3, p.top() + 3), kLeftColour) &&
                   Near(shot.pixel(x + 3, p.bottom() - 3), kRightColour);
        };
        EXPECT_TRUE(WaitForGui([&] { return shows_picture(window->grab().toImage()); })) << c.window.width();
        delete window.data();
        EXPECT_FALSE(controls_->window_exists.Get());
    }
}

// Pictures of 16 bits a channel, with an alpha channel, or both, each the mirror of the one
// before, show as the 8-bit colour one does.
TEST_F(MainDisplayWidgetTest, ShowsDeepAndAlphaPictures)
{
    const std::unique_ptr<MainDisplayWidget> window(OpenAt({640, 480}));
    const int types[] = {CV_16UC3, CV_8UC4, CV_16UC4};
    for (std::size_t i = 0; i < std::size(types); ++i) {
        SCOPED_TRACE(cv::typeToString(types[i]));
        cv::Mat picture = SplitPicture(types[i]);
        if (i % 2 == 0)
            cv::flip(picture, picture, 1);
        pipeline_.ReadPicture(ids_[0], picture, "picture" + std::to_string(i) + ".png");
        const QColor left = i % 2 == 0 ? kRightColour : kLeftColour;
        const QColor right = i % 2 == 0 ? kLeftColour : kRightColour;
        EXPECT_TRUE(WaitForGui([&] {
            const QImage shot = window->grab().toImage();
            return Near(shot.pixel(20, 240), left) && Near(shot.pixel(620, 240), right);
        }));
    }
}

TEST_F(MainDisplayWidgetTest, AClosedWindowKeepsThePipelineRunningAndShowsAgain)
{
    const QPointer<MainDisplayWidget> window = OpenAt({320, 240});
    ASSERT_TRUE(WaitForGui([&] { return window->isVisible(); }));
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(controls_->window_exists.Get());

    // The hidden window still takes the frames, so the display element keeps going.
    const boost::shared_ptr<ElementBase> display = pipeline_.Commander().GetElement(ids_[1]);
    const long long before = display->GetInputs().front()->frame_count.Get();
    EXPECT_TRUE(WaitForGui([&] { return display->GetInputs().front()->frame_count.Get() > before + 5; }));

    EXPECT_EQ(MainDisplayWidget::Show(pipeline_.Hub(), controls_), window.data());
    EXPECT_TRUE(window->isVisible());
    delete window.data();
}

TEST_F(MainDisplayWidgetTest, RemovingTheElementClosesTheWindow)
{
    const QPointer<MainDisplayWidget> window = OpenAt({320, 240});
    pipeline_.Commander().RemoveElement(ids_[1]);
    EXPECT_TRUE(WaitForGui([&] { return window.isNull(); }));
    EXPECT_FALSE(controls_->window_exists.Get());
}

// The window reopens where it was, through the record's text setting as a pipeline
// file carries it, even while the first window still lives: after a move alone, and
// after a resize and a move.
TEST_F(MainDisplayWidgetTest, GeometryRoundTrip)
{
    const struct {
        QPoint position;
        QSize size;
    } cases[] = {{{123, 77}, {}}, {{40, 50}, {321, 234}}};
    for (const auto& c : cases) {
        const std::unique_ptr<MainDisplayWidget> window(OpenAt({300, 200}));
        ASSERT_TRUE(WaitForGui([&] { return window->isVisible(); }));
        if (!c.size.isEmpty())
            window->resize(c.size);
        window->move(c.position);
        QApplication::processEvents();

        auto saved = boost::make_shared<MainDisplayControls>();
        saved->settings.SetValue("_windows_geometry",
                                 controls_->settings.GetValueAsString("_windows_geometry"), "");
        saved->element_alive.Set(true);
        const std::unique_ptr<MainDisplayWidget> reopened(MainDisplayWidget::Show(pipeline_.Hub(), saved));
        EXPECT_EQ(reopened->geometry(), window->geometry()) << c.position.x();
        EXPECT_EQ(reopened->pos(), c.position);
    }
}

// Hiding and destroying the window store its place too, whatever the record held since.
TEST_F(MainDisplayWidgetTest, HidingOrDestroyingStoresTheGeometry)
{
    const struct {
        const char* step;
        bool destroy;
    } cases[] = {{"hide", false}, {"destroy", true}};
    for (const auto& c : cases) {
        QPointer<MainDisplayWidget> window = OpenAt({300, 200});
        ASSERT_TRUE(WaitForGui([&] { return window->isVisible(); }));
        window->move(60, 70);
        QApplication::processEvents();
        const QByteArray placed = window->saveGeometry();
        controls_->SetWindowGeometry(QByteArray());
        if (c.destroy)
            delete window.data();
        else
            window->hide();
        EXPECT_EQ(controls_->GetWindowGeometry(), placed) << c.step;
        delete window.data();
    }
}

}  // namespace
