// The drag-to-change number: its rounding, its drag curve, what it emits and the value
// it notes at each press.
#include "ui/MouseEvents.h"
#include "ui/controls/NumberSelector.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

#include <cmath>

using testsupport::Move;
using testsupport::Press;
using testsupport::Release;
using testsupport::SendMouse;

TEST(NumberSelectorTest, RoundsHalfUp)
{
    const std::pair<double, double> cases[] = {{-2.5, -2.0}, {2.5, 3.0},  {-2.6, -3.0},
                                               {0.49, 0.0},  {-0.5, 0.0}, {7.0, 7.0}};
    NumberSelector selector;
    for (const auto& [value, rounded] : cases) {
        selector.setValue(value);
        EXPECT_EQ(selector.RoundedValue(), rounded) << value;
    }
}

struct DragCase {
    int pixels_up;
    double change_per_tick;
};

TEST(NumberSelectorTest, DragCurveFromZero)
{
    const DragCase cases[] = {{20, 0.1 * 0.001}, {-20, -0.1 * 0.003}, {10, 0.0}, {-5, 0.0}};
    for (const DragCase& c : cases) {
        NumberSelector selector;
        selector.resize(80, 40);
        Press(&selector, QPoint(20, 30));
        Move(&selector, QPoint(20, 30 - c.pixels_up));
        EXPECT_TRUE(selector.IsDragging());
        selector.UpdateValue();
        EXPECT_NEAR(selector.Value(), c.change_per_tick, 1e-12) << c.pixels_up;
        Release(&selector, QPoint(20, 30 - c.pixels_up));
        EXPECT_FALSE(selector.IsDragging());
    }
}

TEST(NumberSelectorTest, ADragEmitsOncePerChangeAndMovesAloneEmitNothing)
{
    NumberSelector selector;
    selector.SetIntMode(true);
    selector.setValue(3.0);
    QSignalSpy ints(&selector, SIGNAL(ValueChanged(int)));
    Press(&selector, QPoint(20, 200));
    Move(&selector, QPoint(20, 190));
    Move(&selector, QPoint(20, 100));  // far up: each tick adds about 0.1
    EXPECT_EQ(ints.count(), 0);
    for (int k = 0; k < 100; ++k)
        selector.UpdateValue();
    Release(&selector, QPoint(20, 100));
    ASSERT_GE(ints.count(), 1);
    EXPECT_LT(ints.count(), 50);
    EXPECT_EQ(ints.last().at(0).toInt(), static_cast<int>(selector.RoundedValue()));
    EXPECT_EQ(selector.Text(), QString::number(ints.last().at(0).toInt()));
}

TEST(NumberSelectorTest, ALongDragStaysFinite)
{
    NumberSelector selector;
    selector.setValue(1.7e308);
    Press(&selector, QPoint(20, 5000));
    Move(&selector, QPoint(20, 0));
    for (int k = 0; k < 10; ++k)
        selector.UpdateValue();
    EXPECT_TRUE(std::isfinite(selector.Value()));
}

TEST(NumberSelectorTest, ShowsSixDigitsOrTheRoundedNumber)
{
    NumberSelector selector;
    QSignalSpy doubles(&selector, SIGNAL(ValueChanged(double)));
    selector.setValue(2.718281828);
    EXPECT_EQ(selector.Text(), "2.71828");
    ASSERT_EQ(doubles.count(), 1);
    EXPECT_DOUBLE_EQ(doubles.last().at(0).toDouble(), 2.718281828);

    // A right double click turns rounding on: the label and the signal carry 3.
    SendMouse(&selector, QEvent::MouseButtonDblClick, QPoint(5, 5), Qt::RightButton, Qt::RightButton);
    EXPECT_EQ(selector.Text(), "3");
    ASSERT_EQ(doubles.count(), 2);
    EXPECT_DOUBLE_EQ(doubles.last().at(0).toDouble(), 3.0);

    // A left double click does nothing.
    SendMouse(&selector, QEvent::MouseButtonDblClick, QPoint(5, 5));
    EXPECT_EQ(selector.Text(), "3");
}

TEST(NumberSelectorTest, EachLeftPressNotesTheValue)
{
    NumberSelector selector;
    selector.resize(80, 40);
    const std::pair<Qt::MouseButton, double> presses[] = {
        {Qt::LeftButton, 4.0}, {Qt::RightButton, 4.0}, {Qt::LeftButton, -1.5}};
    double value = 4.0;
    for (const auto& [button, noted] : presses) {
        selector.setValue(value);
        Press(&selector, QPoint(20, 20), button);
        EXPECT_EQ(selector.ValueAtPress(), noted) << value;
        Release(&selector, QPoint(20, 20), button);
        value = -1.5;
    }
}
