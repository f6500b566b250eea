// The stacked slider and number: silent programmatic sets, one signal per user change.
#include "ui/MouseEvents.h"
#include "ui/controls/BetterSlider.h"
#include "ui/controls/NumberSelector.h"
#include "ui/controls/ValueSelector.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using testsupport::Click;
using testsupport::Move;
using testsupport::Press;
using testsupport::Release;

namespace {

struct Spies {
    explicit Spies(ValueSelector* selector)
        : doubles(selector, SIGNAL(ValueChangedDouble(double))), ints(selector, SIGNAL(ValueChangedInt(int)))
    {
    }
    QSignalSpy doubles;
    QSignalSpy ints;
};

}  // namespace

TEST(ValueSelectorTest, SetValueIsSilentInEveryMode)
{
    for (const bool int_mode : {true, false})
        for (const bool number_mode : {true, false}) {
            ValueSelector selector;
            selector.SetIntMode(int_mode);
            selector.SetNumberMode(number_mode);
            selector.SetRange(0.0, 10.0);
            Spies spies(&selector);
            selector.SetValue(7.0);
            selector.SetValue(3);
            selector.SetRange(-5.0, 5.0);
            EXPECT_EQ(spies.doubles.count() + spies.ints.count(), 0) << int_mode << " " << number_mode;
        }
}

TEST(ValueSelectorTest, AUserClickOnTheSliderEmitsOnceInItsMode)
{
    struct Case {
        bool int_mode;
        int expected_ints, expected_doubles;
    };
    for (const Case c : {Case{true, 1, 0}, Case{false, 0, 1}}) {
        ValueSelector selector;
        selector.SetIntMode(c.int_mode);
        selector.SetRange(0.0, 100.0);
        selector.resize(201, 30);
        selector.show();  // lays the slider out across the selector
        Spies spies(&selector);
        Click(selector.Slider(), QPoint(100, 10));
        EXPECT_EQ(spies.ints.count(), c.expected_ints);
        EXPECT_EQ(spies.doubles.count(), c.expected_doubles);
        if (!c.int_mode && spies.doubles.count() == 1) {
            EXPECT_NEAR(spies.doubles.at(0).at(0).toDouble(), 50.0, 1e-9);
        }
    }
}

TEST(ValueSelectorTest, NumberModeShowsTheNumberAndDisablesTheSlider)
{
    ValueSelector selector;
    selector.SetNumberMode(true);
    EXPECT_TRUE(selector.Number()->isEnabled());
    EXPECT_FALSE(selector.Slider()->isEnabled());
    selector.SetNumberMode(false);
    EXPECT_FALSE(selector.Number()->isEnabled());
    EXPECT_TRUE(selector.Slider()->isEnabled());
}

TEST(ValueSelectorTest, ValueIsTheRoundedNumberOrTheSliderPosition)
{
    ValueSelector selector;
    selector.SetIntMode(false);
    selector.SetRange(0.0, 10.0);
    selector.SetValue(2.5);
    EXPECT_EQ(selector.Value(), 25000);  // slider position in double mode
    selector.SetNumberMode(true);
    EXPECT_EQ(selector.Value(), 3);
    selector.SetValue(-2.5);
    EXPECT_EQ(selector.Value(), -2);
    selector.SetValue(1e300);
    EXPECT_EQ(selector.Value(), INT_MAX);
}

TEST(ValueSelectorTest, IsDraggingWhileEitherControlIsHeld)
{
    ValueSelector selector;
    selector.resize(201, 30);
    Press(selector.Slider(), QPoint(50, 10));
    EXPECT_TRUE(selector.IsDragging());
    Release(selector.Slider(), QPoint(50, 10));
    EXPECT_FALSE(selector.IsDragging());

    selector.SetNumberMode(true);
    Press(selector.Number(), QPoint(5, 5));
    EXPECT_TRUE(selector.IsDragging());
    Move(selector.Number(), QPoint(5, 50));
    Release(selector.Number(), QPoint(5, 50));
    EXPECT_FALSE(selector.IsDragging());
}

TEST(ValueSelectorTest, ANumberDragEmitsDoublesInFloatingMode)
{
    ValueSelector selector;
    selector.SetIntMode(false);
    selector.SetNumberMode(true);
    selector.SetValue(1.0);
    Spies spies(&selector);
    Press(selector.Number(), QPoint(5, 100));
    Move(selector.Number(), QPoint(5, 50));
    selector.Number()->UpdateValue();
    Release(selector.Number(), QPoint(5, 50));
    ASSERT_EQ(spies.doubles.count(), 1);
    EXPECT_GT(spies.doubles.at(0).at(0).toDouble(), 1.0);
    EXPECT_EQ(spies.ints.count(), 0);
}
