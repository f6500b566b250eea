// The point editor shows both coordinates and raises input below its minimums; the
// maximums it is given are not applied.
#include "ui/controls/NumberSelector.h"
#include "ui/controls/ValueSelector.h"
#include "ui/settings/PointSettingItem.h"

#include <gtest/gtest.h>

TEST(PointSettingItemTest, InputBelowTheMinimumsIsRaisedToThem)
{
    cv::Point point(5, 6);
    // Bounds as the factory passes them: the minimums twice.
    PointSettingItem editor(&point, "Anchor", 2, 3, 2, 3, nullptr);
    EXPECT_EQ(editor.XSelector()->Value(), 5);
    EXPECT_EQ(editor.YSelector()->Value(), 6);
    editor.XSelector()->Number()->setValue(-10.0);  // as a drag would leave it
    EXPECT_EQ(point, cv::Point(2, 6));
    editor.YSelector()->Number()->setValue(40.0);
    EXPECT_EQ(point, cv::Point(2, 40));
}
