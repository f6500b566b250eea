// Numeric settings held to their descriptors where the elements use them: the
// helper's reading of descriptors, then each element given values far outside its
// ranges, which must act as the nearest bound (quickly, and without overflow).
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include <boost/any.hpp>
#include <boost/make_shared.hpp>
#include <opencv2/imgproc.hpp>

#include "core/ControlAndStatus.h"
#include "elements/BlurElement.h"
#include "elements/ContourDetectorElement.h"
#include "elements/DilationElement.h"
#include "elements/EdgeDetect.h"
#include "elements/ErosionElement.h"
#include "elements/InRangeThesholdElement.h"
#include "elements/SettingRange.h"
#include "elements/ThresholdElement.h"
#include "support/FrameMaker.h"
#include "support/PadHarness.h"

namespace {

constexpr int kIntMax = std::numeric_limits<int>::max();
constexpr int kIntMin = std::numeric_limits<int>::min();

TEST(SettingRangeTest, HoldsToTheBoundsTheDescriptorNames)
{
    const struct {
        const char* descriptor;
        double value;
        double held;
    } cases[] = {
        {"min=1, max=11", 1000, 11},
        {"min=1, max=11", -3, 1},
        {"min=1, max=11", 7, 7},
        {"MIN = 0.3 , max=150", 0.1, 0.3},
        {"min=0, max=1", std::nan(""), 0},
        {"min=0, max=1", std::numeric_limits<double>::infinity(), 1},
        {"max=10", -1e300, -1e300},
        {"min=-5", 1e300, 1e300},
        // No bounds, or not to be limited: the editors' defaults are no limits.
        {"", 1e9, 1e9},
        {"", -1e9, -1e9},
        {"min=0, max=10, other=no-limits", 1e6, 1e6},
        {"other=no-limits", -4, -4},
        {"min=one, max=", 1e6, 1e6},
        {"items=[A][B]", 9, 9},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.held, SettingRange<double>(c.descriptor).Hold(c.value)) << c.descriptor << " " << c.value;
}

TEST(SettingRangeTest, IntegerBoundsBeyondTheTypeStayInIt)
{
    EXPECT_EQ(kIntMax, SettingRange<int>("min=0, max=1e30").Hold(kIntMax));
    EXPECT_EQ(kIntMin, SettingRange<int>("min=-1e30, max=0").Hold(kIntMin));
    EXPECT_EQ(11, SettingRange<int>("min=1, max=11").Hold(kIntMax));
    EXPECT_EQ(1, SettingRange<int>("min=1, max=11").Hold(kIntMin));
}

TEST(SettingRangeTest, ItemsGiveTheirIndexRange)
{
    const SettingRange<int> range = SettingRange<int>::OfItems("items=[Rectangle][Cross][Ellipse]");
    EXPECT_EQ(0, range.Hold(kIntMin));
    EXPECT_EQ(1, range.Hold(1));
    EXPECT_EQ(2, range.Hold(kIntMax));
}

using MakeFilter =
    std::function<boost::shared_ptr<ElementFilter<VideoFrame>>(boost::shared_ptr<ControlAndStatus>)>;

template <typename E>
MakeFilter Maker()
{
    return [](boost::shared_ptr<ControlAndStatus> hub) { return boost::make_shared<E>(hub); };
}

template <typename T>
void SetVariable(ElementBase& element, const std::string& name, T value)
{
    boost::any_cast<ThreadSafeVariable<T>*>(element.settings.FindItem(name).value)->Set(value);
}

cv::Mat NoiseImage()
{
    cv::Mat image(120, 160, CV_8UC3);
    cv::RNG rng(7);
    rng.fill(image, cv::RNG::UNIFORM, 0, 256);
    cv::GaussianBlur(image, image, cv::Size(5, 5), 0);
    return image;
}

cv::Mat Processed(ElementFilter<VideoFrame>& element)
{
    testsupport::PadHarness<> pads(element);
    return pads.Pass(testsupport::MakeFrame(NoiseImage())).data->image;
}

TEST(SettingRangeTest, ElementsActOnHostileValuesAsOnTheNearestBound)
{
    const struct {
        const char* element;
        MakeFilter make;
        const char* setting;
        double hostile;
        double bound;
        bool is_double;
    } cases[] = {
        {"Dilation", Maker<DilationElement>(), "_size", kIntMax, 11, false},
        {"Dilation", Maker<DilationElement>(), "_size", kIntMin, 1, false},
        {"Erosion", Maker<ErosionElement>(), "_size", 1000, 11, false},
        {"Blur", Maker<BlurElement>(), "_height", kIntMax, 10, false},
        {"Blur", Maker<BlurElement>(), "_width", -7, 1, false},
        {"Threshold", Maker<ThresholdElement>(), "_threshold", 100000, 255, false},
        {"Threshold", Maker<ThresholdElement>(), "_max_value", kIntMin, 0, false},
        {"Canny", Maker<EdgeDetect>(), "_threshold_1", -1e300, 0, true},
        {"Canny", Maker<EdgeDetect>(), "_threshold_2", std::nan(""), 0, true},
        {"In Range Threshold", Maker<InRangeThesholdElement>(), "_channel_0_min", kIntMin, 0, false},
        {"In Range Threshold", Maker<InRangeThesholdElement>(), "_channel_1_max", kIntMax, 255, false},
        {"Contour Detector", Maker<ContourDetectorElement>(), "_contour_approximation_methods", kIntMax, 2,
         false},
        {"Contour Detector", Maker<ContourDetectorElement>(), "_retrieval_mode", kIntMin, 0, false},
    };
    auto hub = boost::make_shared<ControlAndStatus>();
    for (const auto& c : cases) {
        const std::string what = std::string(c.element) + " " + c.setting;
        auto at_bound = c.make(hub);
        auto hostile = c.make(hub);
        if (c.is_double) {
            SetVariable<double>(*at_bound, c.setting, c.bound);
            SetVariable<double>(*hostile, c.setting, c.hostile);
        } else {
            SetVariable<int>(*at_bound, c.setting, static_cast<int>(c.bound));
            SetVariable<int>(*hostile, c.setting, static_cast<int>(c.hostile));
        }
        const cv::Mat expected = Processed(*at_bound);
        cv::Mat result;
        ASSERT_NO_THROW(result = Processed(*hostile)) << what;
        ASSERT_EQ(expected.size(), result.size()) << what;
        ASSERT_EQ(expected.type(), result.type()) << what;
        EXPECT_EQ(0.0, cv::norm(expected, result, cv::NORM_INF)) << what;
    }
}

}  // namespace
