// Only a left press on the label reports a click.
#include "ui/MouseEvents.h"
#include "ui/controls/ClickableLabel.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

TEST(ClickableLabelTest, OnlyTheLeftButtonClicks)
{
    const std::pair<Qt::MouseButton, int> cases[] = {
        {Qt::LeftButton, 1}, {Qt::RightButton, 0}, {Qt::MiddleButton, 0}};
    for (const auto& [button, clicks] : cases) {
        ClickableLabel label;
        label.resize(50, 20);
        QSignalSpy spy(&label, SIGNAL(Clicked()));
        testsupport::Click(&label, QPoint(10, 10), button);
        EXPECT_EQ(spy.count(), clicks) << button;
    }
}
