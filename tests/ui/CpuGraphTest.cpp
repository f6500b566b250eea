#include "ui/toolbar/CpuGraph.h"

#include "WindowTestSupport.h"

#include <QMouseEvent>
#include <QApplication>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

constexpr int kHeight = 60;

class CpuGraphTest : public ::testing::Test {
protected:
    CpuGraphTest()
    {
        graph_.setFixedHeight(kHeight);
        graph_.show();
    }

    // The newest sample's column, at a given height.
    QColor Newest(int y) { return windowtest::PixelAt(&graph_, graph_.width() - 1, y); }

    void LeftClick()
    {
        QMouseEvent press(QEvent::MouseButtonPress, QPoint(5, 5), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(&graph_, &press);
    }

    CpuGraph graph_;
};

}  // namespace

TEST(CpuGraphScaleTest, FailedAndOutOfScaleFiguresBecomeZeroOrTheTop)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<std::pair<double, double>> cases = {
        {nan, 0.0},   {-1.0, 0.0},  {-inf, 0.0},  {inf, 0.0},    {-300.0, 0.0}, {0.0, 0.0},
        {260.0, 0.5}, {520.0, 1.0}, {700.0, 1.0}, {1040.0, 1.0}, {1041.0, 0.0}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(CpuGraph::ScaledSample(c.first), c.second) << c.first;
}

TEST_F(CpuGraphTest, KeepsTwoHundredSamplesAndIsTwoHundredPixelsWide)
{
    EXPECT_EQ(graph_.width(), 200);
    EXPECT_EQ(graph_.History().size(), 200u);
    graph_.AddSample(260.0);
    EXPECT_EQ(graph_.History().size(), 200u);
    EXPECT_DOUBLE_EQ(graph_.History().back(), 0.5);
}

TEST_F(CpuGraphTest, AFullScaleSampleIsARedBarAndAFailedOneNoBar)
{
    const QColor background = Newest(kHeight / 2);
    graph_.AddSample(900.0);
    const QColor full = Newest(kHeight / 2);
    EXPECT_EQ(full, QColor(255, 0, 0));
    graph_.AddSample(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(Newest(kHeight / 2), background);
    graph_.AddSample(-1.0);
    EXPECT_EQ(Newest(kHeight / 2), background);
}

TEST_F(CpuGraphTest, AHalfScaleSampleIsALowGreenishBar)
{
    graph_.AddSample(260.0);
    // v = 0.5: the bar starts half-way down, in (0.125 * 255, 0.875 * 150, 0).
    const QColor bar = Newest(kHeight * 3 / 4);
    EXPECT_EQ(bar, QColor(31, 131, 0));
    EXPECT_NE(Newest(kHeight / 4), bar);
}

TEST_F(CpuGraphTest, AClickCyclesBarsAndLine)
{
    graph_.AddSample(520.0);
    graph_.AddSample(520.0);
    const QColor red(255, 0, 0);
    const QColor blue(0, 0, 255);
    // The line runs along the top of full-scale samples, the bars below it.
    struct Step {
        bool bars;
        bool line;
    };
    const std::vector<Step> steps = {
        {true, true}, {true, false}, {false, true}, {false, false}, {true, true}};
    for (const Step& step : steps) {
        EXPECT_EQ(Newest(kHeight / 2) == red, step.bars);
        EXPECT_EQ(Newest(0) == blue, step.line);
        LeftClick();
    }
}
