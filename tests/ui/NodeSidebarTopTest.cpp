// The tab widget's settings page goes in as tab 1, "Settings".
#include "ui/sidepanel/NodeSidebarTop.h"

#include <QTabWidget>
#include <gtest/gtest.h>

TEST(NodeSidebarTopTest, TheSettingsPageGoesInAsTabOne)
{
    struct Case {
        int tabs_before;
        int expected_index;
    };
    for (const Case& c : {Case{0, 0}, Case{1, 1}, Case{3, 1}}) {
        NodeSidebarTop top;
        for (int i = 0; i < c.tabs_before; ++i)
            top.Tabs()->addTab(new QWidget, QString("page %1").arg(i));
        auto* page = new QWidget;
        top.AddSettingWidget(page);
        ASSERT_EQ(top.Tabs()->count(), c.tabs_before + 1);
        EXPECT_EQ(top.Tabs()->indexOf(page), c.expected_index) << c.tabs_before;
        EXPECT_EQ(top.Tabs()->tabText(c.expected_index), "Settings");
        EXPECT_EQ(page->parentWidget() != nullptr, true);
    }
}
