// The view options beside the settings page's pop-out button: their texts and start
// state, and the hub's shared record of interface signals that they hold.
#include "ui/panels/DisplaySettings.h"

#include "core/ControlAndStatus.h"
#include "core/SharedGUI.h"
#include "support/TestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

TEST(DisplaySettingsTest, StartsUncheckedWithTheViewsListed)
{
    const testsupport::ScopedHome home;
    auto hub = boost::make_shared<ControlAndStatus>();
    DisplaySettings settings(hub, nullptr);
    EXPECT_EQ(settings.Gui().get(), hub->GetSharedGUI());

    QStringList boxes;
    for (QCheckBox* box : settings.findChildren<QCheckBox*>()) {
        boxes << box->text();
        EXPECT_FALSE(box->isChecked());
        EXPECT_EQ(box->focusPolicy(), Qt::NoFocus);
    }
    EXPECT_EQ(boxes, QStringList({"Fixed Aspect Ratio", "Fixed image size"}));

    auto* views = settings.findChild<QComboBox*>();
    ASSERT_NE(views, nullptr);
    QStringList items;
    for (int i = 0; i < views->count(); ++i)
        items << views->itemText(i);
    EXPECT_EQ(items, QStringList({"Select View", "All", "Top", "Bottom", "Right", "Left", "Top Left",
                                  "Top Right", "Bottom Left", "Bottom Right"}));
}
