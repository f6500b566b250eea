// The read-only label follows its variable on its own timer.
#include "ui/settings/StringLabelSettingItem.h"

#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

TEST(StringLabelSettingItemTest, FollowsTheVariable)
{
    ThreadSafeVariable<std::string> status("idle");
    StringLabelSettingItem editor(&status, "Status", nullptr);
    EXPECT_EQ(editor.ValueLabel()->text(), "idle");
    status.Set("running");
    EXPECT_TRUE(QTest::qWaitFor([&] { return editor.ValueLabel()->text() == "running"; }, 5000));
    EXPECT_EQ(status.Get(), "running");
}
