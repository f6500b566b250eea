// The floating-point editor: its range and no-limits modes, the mode flip on the
// label, the refresh that follows the back end except while the user holds on, and
// the input dialogue.
#include "ui/ModalDialogues.h"
#include "ui/MouseEvents.h"
#include "ui/controls/BetterSlider.h"
#include "ui/controls/ClickableLabel.h"
#include "ui/controls/NumberSelector.h"
#include "ui/controls/ValueSelector.h"
#include "ui/settings/ThreadDoubleSettingItem.h"

#include <QDoubleSpinBox>
#include <QInputDialog>
#include <QTimer>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <cfloat>

namespace {

class ThreadDoubleSettingItemTest : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale::c()); }
};

}  // namespace

TEST_F(ThreadDoubleSettingItemTest, NoLimitsTakesTheWholeDoubleRangeWhicheverWayItIsSet)
{
    for (const bool by_constructor : {true, false}) {
        ThreadSafeVariable<double> exposure(-50.0);
        ThreadDoubleSettingItem editor(&exposure, "Exposure", 0.0, 1000.0, nullptr, true, by_constructor);
        if (!by_constructor)
            editor.SetNoLimits(true);
        EXPECT_TRUE(editor.Selector()->IsNumberMode());
        EXPECT_EQ(editor.SpinBox()->minimum(), -DBL_MAX);
        EXPECT_EQ(editor.SpinBox()->maximum(), DBL_MAX);
        EXPECT_EQ(editor.SpinBox()->text(), "-50.000") << by_constructor;
        EXPECT_EQ(editor.Selector()->Number()->Value(), -50.0);
        EXPECT_EQ(exposure.Get(), -50.0);

        QSignalSpy updates(&editor, SIGNAL(UpdateSettingsSignal()));
        editor.SpinBox()->setValue(-1e6);
        EXPECT_EQ(exposure.Get(), -1e6);
        EXPECT_EQ(updates.count(), 1);
    }
}

TEST_F(ThreadDoubleSettingItemTest, UserInputIsHeldToTheRangeOutsideNoLimits)
{
    struct Case {
        double stored, input, expected;
    };
    const Case cases[] = {{5000.0, 4000.0, 1000.0}, {-20.0, -10.0, 0.0}, {5.0, 7.25, 7.25}};
    for (const Case& c : cases) {
        ThreadSafeVariable<double> gain(c.stored);
        ThreadDoubleSettingItem editor(&gain, "Gain", 0.0, 1000.0, nullptr);
        editor.SpinBox()->setValue(c.input);
        EXPECT_EQ(gain.Get(), c.expected) << c.input;
        EXPECT_EQ(editor.SpinBox()->value(), c.expected);
        EXPECT_EQ(editor.SpinBox()->minimum(), std::min(0.0, c.expected));
        EXPECT_EQ(editor.SpinBox()->maximum(), std::max(1000.0, c.expected));
    }
}

TEST_F(ThreadDoubleSettingItemTest, AClickOnTheLabelFlipsTheModeWithoutWriting)
{
    ThreadSafeVariable<double> gain(0.50196);
    ThreadDoubleSettingItem editor(&gain, "Gain", 0.0, 1.0, nullptr);
    QSignalSpy updates(&editor, SIGNAL(UpdateSettingsSignal()));
    testsupport::Click(editor.Label(), QPoint(2, 2));
    EXPECT_TRUE(editor.IsNoLimits());
    EXPECT_EQ(editor.Selector()->Number()->Text(), "0.50196");
    testsupport::Click(editor.Label(), QPoint(2, 2));
    EXPECT_FALSE(editor.IsNoLimits());
    EXPECT_EQ(editor.SpinBox()->maximum(), 1.0);
    EXPECT_EQ(gain.Get(), 0.50196);
    EXPECT_EQ(updates.count(), 0);
}

TEST_F(ThreadDoubleSettingItemTest, ASliderClickWritesOnceAndTheSpinBoxFollows)
{
    ThreadSafeVariable<double> gain(0.0);
    ThreadDoubleSettingItem editor(&gain, "Gain", 0.0, 10.0, nullptr);
    editor.resize(400, 80);
    editor.show();
    BetterSlider* slider = editor.Selector()->Slider();
    QSignalSpy updates(&editor, SIGNAL(UpdateSettingsSignal()));
    QSignalSpy changes(&editor, SIGNAL(ValueChanged()));
    testsupport::Click(slider, QPoint((slider->width() - 1) / 2, slider->height() / 2));
    EXPECT_NEAR(gain.Get(), 5.0, 10.0 / slider->width());  // within a pixel
    EXPECT_EQ(updates.count(), 1);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_NEAR(editor.SpinBox()->value(), gain.Get(), 0.001);
}

TEST_F(ThreadDoubleSettingItemTest, WithoutUpdateItNeverShowsBackEndChanges)
{
    ThreadSafeVariable<double> rate(1.0);
    ThreadDoubleSettingItem editor(&rate, "Rate", 0.0, 100.0, nullptr);
    editor.SetUpdate(false);
    rate.Set(42.0);
    EXPECT_FALSE(editor.findChild<QTimer*>()->isActive());
    editor.UpdateFromVariable();  // as a tick would
    EXPECT_EQ(editor.SpinBox()->value(), 1.0);
    EXPECT_EQ(rate.Get(), 42.0);
}

TEST_F(ThreadDoubleSettingItemTest, WithUpdateItFollowsButLeavesAHeldSliderAlone)
{
    ThreadSafeVariable<double> rate(1.0);
    ThreadDoubleSettingItem editor(&rate, "Rate", 0.0, 100.0, nullptr);
    editor.SetUpdate(true);
    editor.resize(400, 80);
    editor.show();
    rate.Set(42.0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return editor.SpinBox()->value() == 42.0; }, 5000));
    EXPECT_EQ(editor.Selector()->Slider()->value(), 42000);

    BetterSlider* slider = editor.Selector()->Slider();
    testsupport::Press(slider, QPoint(0, slider->height() / 2));  // held at 0
    rate.Set(77.0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return editor.SpinBox()->value() == 77.0; }, 5000));
    EXPECT_EQ(slider->value(), 0);
    testsupport::Release(slider, QPoint(0, slider->height() / 2));
    EXPECT_EQ(rate.Get(), 77.0);
}

TEST_F(ThreadDoubleSettingItemTest, TheInputDialogueWritesOnOkAndNothingOnCancel)
{
    struct Case {
        bool accept;
        double expected;
        int announcements;
    };
    for (const Case& c : {Case{true, 7.1235, 1}, Case{false, 2.0, 0}}) {
        ThreadSafeVariable<double> gain(2.0);
        ThreadDoubleSettingItem editor(&gain, "Gain", 0.0, 10.0, nullptr);
        editor.resize(400, 80);
        editor.show();
        QSignalSpy updates(&editor, SIGNAL(UpdateSettingsSignal()));
        QSignalSpy changes(&editor, SIGNAL(ValueChanged()));
        QString title, text;
        int decimals = 0;
        double low = 0.0, high = 0.0, shown = 0.0;
        ASSERT_TRUE(testsupport::RunAndAnswer([&] { editor.ShowInputDialogue(); },
                                              [&](QWidget* d) {
                                                  auto* dialogue = qobject_cast<QInputDialog*>(d);
                                                  ASSERT_NE(dialogue, nullptr);
                                                  title = dialogue->windowTitle();
                                                  text = dialogue->labelText();
                                                  decimals = dialogue->doubleDecimals();
                                                  low = dialogue->doubleMinimum();
                                                  high = dialogue->doubleMaximum();
                                                  shown = dialogue->doubleValue();
                                                  dialogue->setDoubleValue(7.12345);
                                                  if (c.accept)
                                                      dialogue->accept();
                                                  else
                                                      dialogue->reject();
                                              }));
        EXPECT_EQ(title, "Enter Value");
        EXPECT_EQ(text, "Gain");
        EXPECT_EQ(decimals, 4);
        EXPECT_EQ(low, 0.0);
        EXPECT_EQ(high, 10.0);
        EXPECT_EQ(shown, 2.0);
        EXPECT_DOUBLE_EQ(gain.Get(), c.expected) << c.accept;
        EXPECT_EQ(editor.Selector()->Slider()->value(), static_cast<int>(c.expected * 10000.0));
        EXPECT_EQ(editor.SpinBox()->text(), QString::number(c.expected, 'f', 3));
        EXPECT_EQ(updates.count(), c.announcements);
        EXPECT_EQ(changes.count(), c.announcements);
    }
}

TEST_F(ThreadDoubleSettingItemTest, TheInputDialogueLeavesAHeldSliderAlone)
{
    ThreadSafeVariable<double> gain(2.0);
    ThreadDoubleSettingItem editor(&gain, "Gain", 0.0, 10.0, nullptr);
    editor.resize(400, 80);
    editor.show();
    BetterSlider* slider = editor.Selector()->Slider();
    testsupport::Press(slider, QPoint(0, slider->height() / 2));  // held at 0
    ASSERT_TRUE(testsupport::RunAndAnswer([&] { editor.ShowInputDialogue(); },
                                          [&](QWidget* d) {
                                              auto* dialogue = qobject_cast<QInputDialog*>(d);
                                              ASSERT_NE(dialogue, nullptr);
                                              dialogue->setDoubleValue(6.0);
                                              dialogue->accept();
                                          }));
    EXPECT_EQ(gain.Get(), 6.0);
    EXPECT_EQ(slider->value(), 0);
    testsupport::Release(slider, QPoint(0, slider->height() / 2));
}
