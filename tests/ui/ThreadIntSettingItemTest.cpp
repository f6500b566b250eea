// The integer editor: odd mode never leaves the range, small ranges page by one,
// no-limits hides the slider, and mode changes never write.
#include "ui/MouseEvents.h"
#include "ui/TimerTicks.h"
#include "ui/controls/BetterSlider.h"
#include "ui/settings/ThreadIntSettingItem.h"

#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <climits>

TEST(ThreadIntSettingItemTest, OddModeStoresTheNearestOddValueInsideTheRange)
{
    struct Case {
        int minimum, maximum;
        bool no_limits;
        int input, stored;
    };
    const Case cases[] = {
        {0, 10, false, 4, 5},
        {0, 10, false, 10, 9},
        {0, 10, false, 7, 7},
        {1, 7, false, 6, 7},
        {2, 2, false, 2, 2},
        {0, 10, false, 0, 1},
        {0, 10, true, 2147483646, 2147483647},
        {0, 10, true, -4, -3},
    };
    for (const Case& c : cases) {
        ThreadSafeVariable<int> size(1);
        ThreadIntSettingItem editor(&size, "Kernel Size", c.minimum, c.maximum, nullptr);
        editor.SetOdd(true);
        editor.SetNoLimits(c.no_limits);
        editor.SpinBox()->setValue(c.input);
        EXPECT_EQ(size.Get(), c.stored) << c.minimum << ".." << c.maximum << " " << c.input;
        EXPECT_EQ(editor.SpinBox()->value(), c.stored);
    }
}

TEST(ThreadIntSettingItemTest, ModesAndOutOfRangeValuesNeverWrite)
{
    ThreadSafeVariable<int> even(4);
    ThreadSafeVariable<int> above(5000);
    ThreadIntSettingItem odd_editor(&even, "Size", 0, 10, nullptr);
    ThreadIntSettingItem range_editor(&above, "Property", 0, 1000, nullptr);
    QSignalSpy updates(&odd_editor, SIGNAL(UpdateSettingsSignal()));
    odd_editor.SetOdd(true);
    odd_editor.SetNoLimits(false);
    odd_editor.SetUpdate(true);
    range_editor.SetNoLimits(true);
    range_editor.SetNoLimits(false);
    range_editor.UpdateFromVariable();
    EXPECT_EQ(even.Get(), 4);
    EXPECT_EQ(above.Get(), 5000);
    EXPECT_EQ(range_editor.SpinBox()->text(), "5000");
    EXPECT_EQ(range_editor.Slider()->value(), 1000);  // the slider's end, not written
    EXPECT_EQ(updates.count(), 0);
}

TEST(ThreadIntSettingItemTest, NoLimitsHidesTheSliderAndOpensTheIntRange)
{
    ThreadSafeVariable<int> offset(-12);
    ThreadIntSettingItem editor(&offset, "Offset", 0, 100, nullptr);
    editor.SetNoLimits(true);
    editor.show();
    EXPECT_FALSE(editor.Slider()->isVisible());
    EXPECT_EQ(editor.SpinBox()->minimum(), INT_MIN);
    EXPECT_EQ(editor.SpinBox()->maximum(), INT_MAX);
    EXPECT_EQ(editor.SpinBox()->value(), -12);
    editor.SpinBox()->setValue(-3000);
    EXPECT_EQ(offset.Get(), -3000);

    editor.SetNoLimits(false);
    EXPECT_TRUE(editor.Slider()->isVisible());
    EXPECT_EQ(editor.SpinBox()->value(), -3000);  // still shown as it is
    EXPECT_EQ(offset.Get(), -3000);
}

TEST(ThreadIntSettingItemTest, ASmallRangePagesByOneAndDoesNotJump)
{
    ThreadSafeVariable<int> count(0);
    ThreadIntSettingItem editor(&count, "Count", 0, 10, nullptr);
    editor.resize(400, 80);
    editor.show();
    BetterSlider* slider = editor.Slider();
    EXPECT_EQ(slider->pageStep(), 1);
    QSignalSpy updates(&editor, SIGNAL(UpdateSettingsSignal()));
    testsupport::Press(slider, QPoint(slider->width() - 5, slider->height() / 2));
    testsupport::Release(slider, QPoint(slider->width() - 5, slider->height() / 2));
    EXPECT_EQ(count.Get(), 1);
    EXPECT_EQ(editor.SpinBox()->value(), 1);
    EXPECT_EQ(updates.count(), 1);
}

TEST(ThreadIntSettingItemTest, ALargeRangeJumpsToTheClickAndWritesOnce)
{
    ThreadSafeVariable<int> level(0);
    ThreadIntSettingItem editor(&level, "Level", 0, 255, nullptr);
    editor.resize(400, 80);
    editor.show();
    BetterSlider* slider = editor.Slider();
    QSignalSpy updates(&editor, SIGNAL(UpdateSettingsSignal()));
    testsupport::Click(slider, QPoint(slider->width() - 1, slider->height() / 2));
    EXPECT_EQ(level.Get(), 255);
    EXPECT_EQ(editor.SpinBox()->value(), 255);
    EXPECT_EQ(updates.count(), 1);
}

TEST(ThreadIntSettingItemTest, UpdateFollowsTheBackEndOnlyWhenOn)
{
    ThreadSafeVariable<int> frames(3);
    ThreadIntSettingItem editor(&frames, "Frames", 0, 100, nullptr);
    frames.Set(40);
    EXPECT_FALSE(editor.findChild<QTimer*>()->isActive());
    // Four of the refresh's 25 ms intervals: a timer left running would show 40.
    ASSERT_TRUE(windowtest::WaitIntervals(std::chrono::milliseconds(25), 4));
    EXPECT_EQ(editor.SpinBox()->value(), 3);
    editor.SetUpdate(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return editor.SpinBox()->value() == 40; }, 5000));
    EXPECT_EQ(editor.Slider()->value(), 40);
    EXPECT_EQ(frames.Get(), 40);
    // Switched off, even a direct refresh leaves the shown value alone.
    editor.SetUpdate(false);
    frames.Set(60);
    editor.UpdateFromVariable();
    EXPECT_EQ(editor.SpinBox()->value(), 40);
}
