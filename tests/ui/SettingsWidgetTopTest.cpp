#include "ui/sidepanel/SettingsWidgetTop.h"

#include "control/PowerCommanderTop.h"
#include "core/ControlAndStatus.h"
#include "ui/settings/panels/AutoGuiBuilder.h"
#include "ui/sidepanel/CustomButton.h"
#include "ui/sidepanel/ElementSelectorWidget.h"
#include "ui/sidepanel/GlobalSettingsWidget.h"
#include "ui/sidepanel/SideBar.h"
#include "WindowTestSupport.h"

#include <QLayout>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTest>
#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

namespace {

class SettingsWidgetTopTest : public ::testing::Test {
protected:
    SettingsWidgetTopTest()
        : hub_(boost::make_shared<ControlAndStatus>()),
          commander_(boost::make_shared<PowerCommanderTop>(hub_)), panel_(hub_),
          changed_(&panel_, SIGNAL(ItemChanged(QString)))
    {
        panel_.resize(500, 600);
        panel_.show();
    }

    CustomButton* Button(const QString& name)
    {
        for (CustomButton* button : panel_.findChildren<CustomButton*>()) {
            if (button->Name() == name)
                return button;
        }
        return nullptr;
    }

    bool LooksHighlighted(const QString& name)
    {
        return windowtest::PixelAt(Button(name), 2, 2) == QColor(CustomButton::kHighlightColour);
    }

    QWidget* CurrentPage() { return panel_.Pages()->currentWidget(); }

    testsupport::ScopedHome home_;
    boost::shared_ptr<ControlAndStatus> hub_;
    boost::shared_ptr<PowerCommanderTop> commander_;
    SettingsWidgetTop panel_;
    QSignalSpy changed_;
};

}  // namespace

TEST_F(SettingsWidgetTopTest, StartsOnTheElementsPageWithItsButtonHighlighted)
{
    ASSERT_NE(Button("Elements"), nullptr);
    ASSERT_NE(Button("Settings"), nullptr);
    EXPECT_EQ(panel_.findChildren<CustomButton*>().size(), 2);
    EXPECT_TRUE(LooksHighlighted("Elements"));
    EXPECT_FALSE(LooksHighlighted("Settings"));
    EXPECT_NE(qobject_cast<ElementSelectorWidget*>(CurrentPage()), nullptr);
}

TEST_F(SettingsWidgetTopTest, ClickingAButtonShowsItsPageAndAnnouncesIt)
{
    QTest::mouseClick(Button("Settings"), Qt::LeftButton);
    EXPECT_NE(qobject_cast<GlobalSettingsWidget*>(CurrentPage()), nullptr);
    EXPECT_TRUE(LooksHighlighted("Settings"));
    EXPECT_FALSE(LooksHighlighted("Elements"));
    QTest::mouseClick(Button("Elements"), Qt::LeftButton);
    EXPECT_NE(qobject_cast<ElementSelectorWidget*>(CurrentPage()), nullptr);
    ASSERT_EQ(changed_.count(), 2);
    EXPECT_EQ(changed_.at(0).at(0).toString(), "Settings");
    EXPECT_EQ(changed_.at(1).at(0).toString(), "Elements");
}

TEST_F(SettingsWidgetTopTest, UnknownNamesKeepThePageAndHideSettingsHidesIt)
{
    QWidget* before = CurrentPage();
    panel_.SetWidgetShown("Python");
    EXPECT_EQ(CurrentPage(), before);
    EXPECT_TRUE(panel_.Pages()->isVisible());
    panel_.SetWidgetShown("hide_settings");
    EXPECT_FALSE(panel_.Pages()->isVisible());
    panel_.SetWidgetShown("Settings");
    EXPECT_TRUE(panel_.Pages()->isVisible());
    EXPECT_TRUE(LooksHighlighted("Settings"));
    EXPECT_FALSE(LooksHighlighted("Elements"));
    ASSERT_EQ(changed_.count(), 3);
    EXPECT_EQ(changed_.at(0).at(0).toString(), "Python");
    EXPECT_EQ(changed_.at(1).at(0).toString(), "hide_settings");
}

TEST_F(SettingsWidgetTopTest, TheSettingsPageHoldsThePreviewPanelAboveTheFrameRatePanel)
{
    auto* page = panel_.findChild<GlobalSettingsWidget*>();
    ASSERT_NE(page, nullptr);
    QLayout* layout = page->layout();
    ASSERT_EQ(layout->count(), 3);
    EXPECT_EQ(layout->itemAt(0)->widget(), page->PreviewPanel());
    EXPECT_EQ(layout->itemAt(1)->widget(), page->FrameRatePanel());
    EXPECT_NE(layout->itemAt(2)->spacerItem(), nullptr);
}
