// The signal button: a press fires the object's signal on the GUI thread; its own value
// signal is declared and never fires.
#include "ui/settings/panels/SignalCallingWidget.h"

#include "MouseEvents.h"

#include <QPushButton>
#include <QSignalSpy>
#include <gtest/gtest.h>

TEST(SignalCallingWidgetTest, APressFiresTheSignalAndNothingElse)
{
    boost::signals2::signal<void()> snapshot;
    int fired = 0;
    snapshot.connect([&] { ++fired; });
    SignalCallingWidget widget(&snapshot, "Take Snapshot", nullptr);
    QSignalSpy values(&widget, SIGNAL(ValueChanged()));
    QSignalSpy updates(&widget, SIGNAL(UpdateSettingsSignal()));
    ASSERT_TRUE(values.isValid());
    auto* button = widget.findChild<QPushButton*>();
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), "Take Snapshot");
    testsupport::Press(button, QPoint(2, 2));
    EXPECT_EQ(fired, 1);
    testsupport::Release(button, QPoint(2, 2));
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(values.count(), 0);
    EXPECT_EQ(updates.count(), 0);
}
