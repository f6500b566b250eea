#include "ui/frame/PopoutWigetBase.h"

#include "ui/frame/PopOutButton.h"
#include "ui/frame/PopOutWindow.h"
#include "WindowTestSupport.h"

#include <QLabel>
#include <QLayout>
#include <QMouseEvent>
#include <QPointer>
#include <QApplication>
#include <gtest/gtest.h>

#include <memory>

using windowtest::RunDeferredDeletes;

namespace {

class PopoutWigetBaseTest : public ::testing::Test {
protected:
    PopoutWigetBaseTest() : panel_(new QLabel("panel")), frame_(new PopoutWigetBase(panel_))
    {
        panel_->setObjectName("panel");
        frame_->resize(300, 200);
        frame_->show();
    }

    PopOutButton* Button() const { return frame_->findChild<PopOutButton*>(); }
    QWidget* TopBar() const { return frame_->findChild<QWidget*>("TopBar"); }

    // A left click as a person makes it.
    static void Click(QWidget* widget)
    {
        const QPoint centre = widget->rect().center();
        QMouseEvent press(QEvent::MouseButtonPress, centre, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, centre, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &press);
        QApplication::sendEvent(widget, &release);
    }

    // Every label named "panel" anywhere in the application.
    static int PanelCopies()
    {
        int copies = 0;
        for (QWidget* widget : QApplication::allWidgets())
            copies += widget->objectName() == "panel" ? 1 : 0;
        return copies;
    }

    // The panel and the top bar sit in the frame, the top bar first.
    void ExpectHome() const
    {
        EXPECT_EQ(frame_->HeldWidget(), panel_);
        EXPECT_EQ(panel_->parentWidget(), frame_.get());
        ASSERT_NE(TopBar(), nullptr);
        EXPECT_EQ(TopBar()->parentWidget(), frame_.get());
        QLayout* layout = frame_->layout();
        ASSERT_GE(layout->count(), 2);
        EXPECT_EQ(layout->itemAt(0)->widget(), TopBar());
        EXPECT_EQ(layout->itemAt(1)->widget(), panel_);
    }

    QLabel* panel_;
    std::unique_ptr<PopoutWigetBase> frame_;
};

}  // namespace

TEST_F(PopoutWigetBaseTest, PopOutMovesPanelAndTopBarIntoOneWindow)
{
    ExpectHome();
    frame_->PopOut();
    PopOutWindow* window = frame_->Window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isWindow());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(frame_->HeldWidget(), nullptr);
    EXPECT_EQ(panel_->window(), window);
    EXPECT_EQ(TopBar()->window(), window);
    EXPECT_EQ(window->layout()->itemAt(0)->widget(), TopBar());
    EXPECT_EQ(window->layout()->itemAt(1)->widget(), panel_);
}

TEST_F(PopoutWigetBaseTest, ClosingTheWindowOrClickingItsButtonBringsThePanelBack)
{
    frame_->PopOut();
    QPointer<PopOutWindow> closed = frame_->Window();
    closed->close();
    ExpectHome();
    RunDeferredDeletes();
    EXPECT_TRUE(closed.isNull());

    Click(Button());
    QPointer<PopOutWindow> clicked_away = frame_->Window();
    ASSERT_FALSE(clicked_away.isNull());
    // The button now sits in the window's top bar.
    EXPECT_EQ(Button()->window(), clicked_away.data());
    Click(Button());
    ExpectHome();
    RunDeferredDeletes();
    EXPECT_TRUE(clicked_away.isNull());
}

TEST_F(PopoutWigetBaseTest, ThreeRoundTripsLeaveOneCopyAndNoWindow)
{
    const int items_at_home = frame_->layout()->count();
    for (int trip = 0; trip < 3; ++trip) {
        frame_->PopOut();
        ASSERT_NE(frame_->Window(), nullptr);
        frame_->PopOut();
        RunDeferredDeletes();
        ExpectHome();
    }
    EXPECT_EQ(PanelCopies(), 1);
    EXPECT_TRUE(frame_->findChildren<PopOutWindow*>().isEmpty());
    EXPECT_EQ(frame_->layout()->count(), items_at_home);
}

TEST_F(PopoutWigetBaseTest, AClosedWindowNeverTakesThePanelFromTheLiveOne)
{
    frame_->PopOut();
    QPointer<PopOutWindow> stale = frame_->Window();
    stale->close();
    // Popped out again before the first window has gone.
    frame_->PopOut();
    PopOutWindow* live = frame_->Window();
    ASSERT_NE(live, stale.data());
    ASSERT_FALSE(stale.isNull());
    stale->close();
    EXPECT_EQ(panel_->window(), live);
    EXPECT_EQ(frame_->HeldWidget(), nullptr);
    live->close();
    ExpectHome();
}

TEST_F(PopoutWigetBaseTest, DestroyingTheFrameWhilePoppedOutFreesTheWindow)
{
    frame_->PopOut();
    QPointer<PopOutWindow> window = frame_->Window();
    QPointer<QLabel> panel = panel_;
    frame_.reset();
    EXPECT_TRUE(window.isNull());
    EXPECT_TRUE(panel.isNull());
}

TEST_F(PopoutWigetBaseTest, AddToTopBarPutsTheWidgetAfterTheButton)
{
    auto* extra = new QLabel("extra");
    frame_->AddToTopBar(extra);
    QLayout* bar = TopBar()->layout();
    ASSERT_EQ(bar->count(), 2);
    EXPECT_EQ(bar->itemAt(0)->widget(), Button());
    EXPECT_EQ(bar->itemAt(1)->widget(), extra);
}

TEST_F(PopoutWigetBaseTest, TheButtonIsAGreyToBlueBarAtMostTenPixelsHigh)
{
    // A crowded top bar in a small frame must not squeeze it away.
    frame_->AddToTopBar(new QLabel("a label\nof two lines"));
    panel_->setMinimumHeight(400);
    frame_->resize(300, 100);
    ASSERT_TRUE(windowtest::WaitForGui([&] { return Button()->height() > 0; }));
    PopOutButton* button = Button();
    EXPECT_EQ(button->height(), 10);
    EXPECT_EQ(button->width(), frame_->width());
    EXPECT_EQ(button->toolTip(), "Click to pop out / back");
    const QImage image = windowtest::Screen(button);
    const QColor top = image.pixelColor(image.width() / 2, 0);
    const QColor bottom = image.pixelColor(image.width() / 2, image.height() - 1);
    EXPECT_NEAR(top.red(), 100, 15);
    EXPECT_NEAR(top.blue(), 100, 15);
    EXPECT_LT(bottom.red(), 20);
    EXPECT_NEAR(bottom.blue(), 150, 15);
}
