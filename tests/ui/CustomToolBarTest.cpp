#include "ui/toolbar/CustomToolBar.h"

#include "control/PowerCommanderTop.h"
#include "core/ControlAndStatus.h"
#include "ui/controls/ImageButton.h"
#include "ui/toolbar/CameraBar.h"
#include "ui/toolbar/CpuGraph.h"
#include "ui/toolbar/EngineControlButtons.h"
#include "WindowTestSupport.h"

#include <QAction>
#include <QTest>
#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include <vector>

using windowtest::WaitForGui;

namespace {

class CustomToolBarTest : public ::testing::Test {
protected:
    CustomToolBarTest()
        : hub_(boost::make_shared<ControlAndStatus>()),
          commander_(boost::make_shared<PowerCommanderTop>(hub_))
    {
        hub_->SetCommander(commander_);
    }
    ~CustomToolBarTest() override { hub_->SetCommander(nullptr); }

    // What the tool bar holds, entry by entry: the widget, or null for a plain action.
    static std::vector<QWidget*> Entries(CustomToolBar& bar)
    {
        std::vector<QWidget*> entries;
        for (QAction* action : bar.actions())
            entries.push_back(bar.widgetForAction(action));
        return entries;
    }

    // Whether the button shows the main image of the path: the image it paints, and the
    // pixel at its centre on screen.
    static bool Shows(ImageButton* button, const std::string& path)
    {
        ImageButton reference;
        reference.SetImages(path);
        const QImage expected = reference.CurrentImage();
        if (expected.isNull() || button->CurrentImage() != expected)
            return false;
        const QPoint centre = expected.rect().center();
        return windowtest::Screen(button).pixelColor(centre) == expected.pixelColor(centre);
    }

    testsupport::ScopedHome home_;
    boost::shared_ptr<ControlAndStatus> hub_;
    boost::shared_ptr<PowerCommanderTop> commander_;
};

}  // namespace

TEST_F(CustomToolBarTest, EngineButtonsFirstThenTheActionsThenCameraBarAndCpuGraph)
{
    CustomToolBar bar;
    QAction* zoom = bar.addAction("Zoom In");
    bar.addSeparator();
    QAction* logo = bar.addAction("Orvane");
    bar.Setup(hub_);
    const std::vector<QWidget*> entries = Entries(bar);
    ASSERT_EQ(entries.size(), 6u);
    EXPECT_EQ(entries[0], bar.GetEngineControlButtons());
    EXPECT_EQ(bar.actions()[1], zoom);
    EXPECT_EQ(bar.actions()[3], logo);
    EXPECT_EQ(entries[4], bar.GetCameraBar());
    EXPECT_EQ(entries[5], bar.GetCpuGraph());
}

TEST_F(CustomToolBarTest, AnEmptyToolBarGetsTheEngineButtonsFirstToo)
{
    CustomToolBar bar;
    bar.Setup(hub_);
    const std::vector<QWidget*> entries = {bar.GetEngineControlButtons(), bar.GetCameraBar(),
                                           bar.GetCpuGraph()};
    EXPECT_EQ(Entries(bar), entries);
}

TEST_F(CustomToolBarTest, TheButtonsCarryTheirImagesAndToolTips)
{
    EngineControlButtons buttons(hub_);
    struct Case {
        ImageButton* button;
        std::string image;
        QString tool_tip;
    };
    const std::vector<Case> cases = {
        {buttons.RestartButton(), ":/images/blue_round_restart_button.png", "Restart"},
        {buttons.PlayPauseButton(), ":/images/blue_round_pause_button.png", "Play"},
        {buttons.StopButton(), ":/images/blue_round_stop_button.png", "Stop"},
        {buttons.StepButton(), ":/images/blue_round_step_forward_button.png", "Step"},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(Shows(c.button, c.image)) << c.image;
        EXPECT_EQ(c.button->toolTip(), c.tool_tip);
    }
}

TEST_F(CustomToolBarTest, ThePlayPauseImageFollowsAPauseThroughTheCommandLanguage)
{
    EngineControlButtons buttons(hub_);
    buttons.show();
    commander_->ParseCommand("pause");
    EXPECT_TRUE(
        WaitForGui([&] { return Shows(buttons.PlayPauseButton(), ":/images/blue_round_play_button.png"); }));
    commander_->ParseCommand("play");
    EXPECT_TRUE(
        WaitForGui([&] { return Shows(buttons.PlayPauseButton(), ":/images/blue_round_pause_button.png"); }));
}

TEST_F(CustomToolBarTest, TwoQuickClicksPauseAndResume)
{
    EngineControlButtons buttons(hub_);
    buttons.show();
    ImageButton* play_pause = buttons.PlayPauseButton();
    QTest::mouseClick(play_pause, Qt::LeftButton);
    EXPECT_TRUE(commander_->IsPaused());
    QTest::mouseClick(play_pause, Qt::LeftButton);
    EXPECT_FALSE(commander_->IsPaused());
}

TEST_F(CustomToolBarTest, ButtonsWithoutACommanderDoNothing)
{
    hub_->SetCommander(nullptr);
    EngineControlButtons buttons(hub_);
    buttons.show();
    for (ImageButton* button :
         {buttons.RestartButton(), buttons.PlayPauseButton(), buttons.StopButton(), buttons.StepButton()})
        QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_FALSE(commander_->IsPaused());
}
