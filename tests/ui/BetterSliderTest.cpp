// The slider's double mode, its jump to the clicked position and its paging without it.
#include "ui/MouseEvents.h"
#include "ui/controls/BetterSlider.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

#include <climits>
#include <cmath>

using testsupport::Click;
using testsupport::Press;
using testsupport::Release;

TEST(BetterSliderTest, DoubleModeMapsUnitsToTheRange)
{
    BetterSlider slider;
    slider.SetDoubleRange(0.0, 200000.0);
    slider.SetDoubleMode(true);
    QSignalSpy doubles(&slider, SIGNAL(DoubleChanged(double)));
    QSignalSpy ints(&slider, SIGNAL(IntChanged(int)));

    slider.setValue(50000);
    ASSERT_EQ(doubles.count(), 1);
    EXPECT_DOUBLE_EQ(doubles.at(0).at(0).toDouble(), 100000.0);
    EXPECT_EQ(ints.count(), 0);

    slider.SetDoubleValue(3.0);  // 1.5 units, truncated
    EXPECT_EQ(slider.value(), 1);
}

TEST(BetterSliderTest, DoubleValuesOutsideOrWithoutARangeStayInsideTheSlider)
{
    struct Case {
        double minimum, maximum, value;
        int expected;
    };
    const Case cases[] = {
        {0.0, 10.0, 1e300, 100000},   {0.0, 10.0, -1e300, 0},  {5.0, 5.0, 5.0, 0},
        {0.0, 10.0, std::nan(""), 0}, {-1e308, 1e308, 0.0, 0},  // infinite step
    };
    for (const Case& c : cases) {
        BetterSlider slider;
        slider.SetDoubleMode(true);
        slider.SetDoubleRange(c.minimum, c.maximum);
        slider.SetDoubleValue(c.value);
        EXPECT_EQ(slider.value(), c.expected) << c.minimum << ".." << c.maximum << " " << c.value;
    }
}

TEST(BetterSliderTest, IntegerModeTakesTheBoundsAsItsRange)
{
    BetterSlider slider;
    slider.SetDoubleRange(1.9, 7.9);
    EXPECT_EQ(slider.minimum(), 1);
    EXPECT_EQ(slider.maximum(), 7);
}

TEST(BetterSliderTest, ALeftClickJumpsToThePositionAndEmitsOnce)
{
    BetterSlider slider;
    slider.resize(201, 24);
    QSignalSpy ints(&slider, SIGNAL(IntChanged(int)));

    Press(&slider, QPoint(100, 12));
    EXPECT_EQ(slider.value(), 50);
    EXPECT_TRUE(slider.IsPressed());
    ASSERT_EQ(ints.count(), 1);
    EXPECT_EQ(ints.at(0).at(0).toInt(), 50);
    Release(&slider, QPoint(100, 12));
    EXPECT_FALSE(slider.IsPressed());
    EXPECT_EQ(ints.count(), 1);
}

TEST(BetterSliderTest, JumpsOnTheWholeIntRangeAndOnAZeroWidth)
{
    BetterSlider slider;
    slider.setRange(INT_MIN, INT_MAX);
    slider.resize(401, 24);
    Click(&slider, QPoint(300, 12));
    const double expected = INT_MIN + 0.75 * (double(INT_MAX) - double(INT_MIN));
    EXPECT_NEAR(slider.value(), expected, 1e7);

    slider.setRange(0, 100);
    slider.setValue(40);
    slider.resize(0, 24);
    Click(&slider, QPoint(0, 12));
    EXPECT_EQ(slider.value(), 0);
}

TEST(BetterSliderTest, WithoutJumpAClickPages)
{
    BetterSlider slider;
    slider.resize(201, 24);
    slider.setPageStep(10);
    slider.SetJumpToClick(false);
    Press(&slider, QPoint(180, 12));
    EXPECT_EQ(slider.value(), 10);
    EXPECT_FALSE(slider.IsPressed());
    Release(&slider, QPoint(180, 12));
}

TEST(BetterSliderTest, OtherButtonsDoNotJump)
{
    BetterSlider slider;
    slider.resize(201, 24);
    Press(&slider, QPoint(150, 12), Qt::RightButton);
    EXPECT_EQ(slider.value(), 0);
    EXPECT_FALSE(slider.IsPressed());
}
