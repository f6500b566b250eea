#include "ui/toolbar/CameraBar.h"

#include "core/CameraControls.h"
#include "core/ControlAndStatus.h"
#include "ui/toolbar/BoolIndicator.h"
#include "ui/toolbar/LEDWidget.h"
#include "ui/toolbar/MemoryMonitor.h"
#include "ui/toolbar/NumberDisplay.h"
#include "WindowTestSupport.h"

#include <boost/make_shared.hpp>
#include <boost/signals2/connection.hpp>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using windowtest::WaitForGui;

namespace {

// Whether the light's centre is mostly green (on) rather than red (off).
bool LooksGreen(LEDWidget* led)
{
    const QColor centre = windowtest::PixelAt(led, led->width() / 2, led->height() / 2);
    return centre.green() > centre.red();
}

bool LooksRed(LEDWidget* led)
{
    const QColor centre = windowtest::PixelAt(led, led->width() / 2, led->height() / 2);
    return centre.red() > centre.green();
}

class CameraBarTest : public ::testing::Test {
protected:
    CameraBarTest()
        : hub_(boost::make_shared<ControlAndStatus>()), controls_(hub_->GetSharedControl<CameraControls>("")),
          bar_(hub_)
    {
        bar_.show();
    }

    testsupport::ScopedHome home_;
    boost::shared_ptr<ControlAndStatus> hub_;
    boost::shared_ptr<CameraControls> controls_;
    CameraBar bar_;
};

}  // namespace

TEST(NumberDisplayTest, OneDigitCountsGetALeadingZeroAndNegativesKeepTheirSign)
{
    const std::vector<std::pair<int, QString>> cases = {{0, "00"},    {7, "07"},  {9, "09"},   {10, "10"},
                                                        {123, "123"}, {-3, "-3"}, {-12, "-12"}};
    for (const auto& c : cases) {
        NumberDisplay display;
        display.SetNumber(c.first);
        EXPECT_EQ(display.NumberText(), c.second) << c.first;
    }
}

TEST_F(CameraBarTest, ShowsTheCountAndTheTruncatedRate)
{
    struct Case {
        long long count;
        double rate;
        QString frames;
        QString rate_text;
    };
    const std::vector<Case> cases = {
        {5, 9.9, "05", "09"},
        {1234, 30.0, "1234", "30"},
        {1235, std::numeric_limits<double>::quiet_NaN(), "1235", "00"},
        {1236, 1e12, "1236", QString::number(std::numeric_limits<int>::max())},
    };
    for (const Case& c : cases) {
        controls_->frame_count.Set(c.count);
        controls_->frame_rate.Set(c.rate);
        bar_.UpdateFromTimer();
        EXPECT_EQ(bar_.Frames()->NumberText(), c.frames);
        EXPECT_EQ(bar_.FramesPerSecond()->NumberText(), c.rate_text);
    }
}

TEST_F(CameraBarTest, TheLightIsOnForOneTickAfterANewFrame)
{
    LEDWidget* led = bar_.NewFrame()->Led();
    bar_.UpdateFromTimer();
    EXPECT_FALSE(led->IsOn());
    EXPECT_TRUE(LooksRed(led));
    controls_->frame_count.Set(1);
    bar_.UpdateFromTimer();
    EXPECT_TRUE(led->IsOn());
    EXPECT_TRUE(LooksGreen(led));
    bar_.UpdateFromTimer();
    EXPECT_FALSE(led->IsOn());
    EXPECT_TRUE(LooksRed(led));
}

// A source writes the frames of its last second on each one-second tick, after the bar.
TEST_F(CameraBarTest, TheRateFallsToZeroAtTheFirstTickThatNoSourceWrites)
{
    controls_->frame_rate.Set(25.0);
    bar_.UpdateFromTimer();
    ASSERT_EQ(bar_.FramesPerSecond()->NumberText(), "25");
    {
        boost::signals2::scoped_connection source =
            hub_->tick_signal.connect([this] { controls_->frame_rate.Set(24.0); });
        hub_->tick_signal();
        bar_.UpdateFromTimer();
        EXPECT_EQ(bar_.FramesPerSecond()->NumberText(), "24") << "a source's own figure stays";
    }
    hub_->tick_signal();
    bar_.UpdateFromTimer();
    EXPECT_EQ(bar_.FramesPerSecond()->NumberText(), "00");
}

TEST_F(CameraBarTest, TheTimerShowsNewFigures)
{
    controls_->frame_count.Set(42);
    EXPECT_TRUE(WaitForGui([&] { return bar_.Frames()->NumberText() == "42"; }));
}

TEST(BoolIndicatorTest, FollowsItsVariable)
{
    ThreadSafeVariable<bool> state{false};
    BoolIndicator indicator(&state);
    indicator.show();
    state.Set(true);
    EXPECT_TRUE(WaitForGui([&] { return indicator.Led()->IsOn(); }));
    EXPECT_TRUE(LooksGreen(indicator.Led()));
    state.Set(false);
    EXPECT_TRUE(WaitForGui([&] { return !indicator.Led()->IsOn(); }));
}

TEST(MemoryMonitorTest, ShowsTheResidentMemoryInMegabytes)
{
    MemoryMonitor monitor;
    EXPECT_GT(MemoryMonitor::ProcessMemoryKilobytes(), 0.0);
    EXPECT_TRUE(monitor.Text().startsWith("Memory Used : "));
    EXPECT_TRUE(monitor.Text().endsWith(" MB"));
}
