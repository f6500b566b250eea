#include "ui/sidepanel/SideBar.h"

#include "ui/sidepanel/CustomButton.h"
#include "ui/sidepanel/SideBarContainer.h"
#include "WindowTestSupport.h"

#include <QApplication>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <vector>

using windowtest::PixelAt;
using windowtest::WaitForGui;

namespace {

QColor TopLeft(CustomButton* button)
{
    return PixelAt(button, 1, 1);
}

}  // namespace

TEST(CustomButtonTest, AGreyGradientWithCentredTextOrBlueWhenHighlighted)
{
    CustomButton button("Settings", "Settings");
    button.show();
    EXPECT_EQ(button.size(), QSize(91, 50));
    EXPECT_EQ(button.objectName(), "CustomButton");
    EXPECT_NEAR(TopLeft(&button).red(), 100, 4);
    EXPECT_EQ(TopLeft(&button).red(), TopLeft(&button).blue());
    // Darker towards the bottom.
    EXPECT_LT(PixelAt(&button, 1, 48).red(), TopLeft(&button).red());

    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(&button, &enter);
    EXPECT_NEAR(TopLeft(&button).red(), 40, 4);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&button, &leave);
    EXPECT_NEAR(TopLeft(&button).red(), 100, 4);

    button.SetHighlighted(true);
    EXPECT_EQ(TopLeft(&button), QColor(CustomButton::kHighlightColour));

    // The text is drawn in the middle: some pixel there differs from the plain fill.
    const QImage image = windowtest::Screen(&button);
    bool text_seen = false;
    for (int x = 20; x < 70 && !text_seen; ++x)
        text_seen = image.pixelColor(x, 25) != QColor(CustomButton::kHighlightColour);
    EXPECT_TRUE(text_seen);
}

TEST(CustomButtonTest, AClickSendsItsName)
{
    CustomButton button("name", "shown text");
    button.show();
    QSignalSpy pressed(&button, SIGNAL(ButtonPressed(QString)));
    QTest::mouseClick(&button, Qt::LeftButton);
    ASSERT_EQ(pressed.count(), 1);
    EXPECT_EQ(pressed.at(0).at(0).toString(), "name");
}

TEST(SideBarTest, AClickHighlightsOnlyThatButtonAndIsRelayed)
{
    SideBar bar(nullptr, true);
    EXPECT_EQ(bar.objectName(), "SideBar");
    EXPECT_EQ(bar.minimumWidth(), 91);
    EXPECT_EQ(bar.maximumWidth(), 91);
    std::vector<CustomButton*> buttons = {bar.AddButton("Elements"), bar.AddButton("Settings")};
    bar.AddSpacer();
    bar.show();
    QSignalSpy relayed(&bar, SIGNAL(ButtonPressed(QString)));
    QTest::mouseClick(buttons[1], Qt::LeftButton);
    ASSERT_EQ(relayed.count(), 1);
    EXPECT_EQ(relayed.at(0).at(0).toString(), "Settings");
    EXPECT_FALSE(buttons[0]->IsHighlighted());
    EXPECT_TRUE(buttons[1]->IsHighlighted());
    EXPECT_EQ(TopLeft(buttons[1]), QColor(CustomButton::kHighlightColour));
    bar.HighLightButton("Elements");
    EXPECT_TRUE(buttons[0]->IsHighlighted());
    EXPECT_FALSE(buttons[1]->IsHighlighted());
}

TEST(SideBarContainerTest, ArrowsShowOnlyWhenTheButtonsDoNotFitAndScrollByFifty)
{
    SideBarContainer container;
    for (int i = 0; i < 8; ++i)
        container.GetSideBar()->AddButton("button " + QString::number(i));
    container.GetSideBar()->AddSpacer();
    container.resize(91, 900);
    container.show();
    EXPECT_TRUE(WaitForGui([&] { return !container.UpButton()->isVisible(); }));
    EXPECT_FALSE(container.DownButton()->isVisible());
    EXPECT_EQ(container.width(), container.GetSideBar()->width());

    container.resize(91, 200);
    ASSERT_TRUE(WaitForGui(
        [&] { return container.DownButton()->isVisible() && container.DownButton()->height() > 0; }));
    EXPECT_TRUE(container.DownButton()->isVisible());
    QScrollBar* scroll = container.ScrollArea()->verticalScrollBar();
    ASSERT_GE(scroll->maximum(), 100);
    QTest::mouseClick(container.DownButton(), Qt::LeftButton);
    QTest::mouseClick(container.DownButton(), Qt::LeftButton);
    EXPECT_EQ(scroll->value(), 100);
    QTest::mouseClick(container.UpButton(), Qt::LeftButton);
    EXPECT_EQ(scroll->value(), 50);

    container.resize(91, 900);
    EXPECT_TRUE(WaitForGui([&] { return !container.UpButton()->isVisible(); }));
}
