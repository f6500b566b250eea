#include "elements/InRangeThesholdElement.h"

#include <cmath>
#include <limits>

#include <opencv2/imgproc.hpp>

#include "core/ImageConversions.h"
#include "core/VideoFormat.h"
#include "elements/SettingRange.h"

namespace {

const char kLevelDescriptor[] = "min=0, max=255";

// The picked colour converted exactly as an 8-bit BGR frame is converted to HSV,
// so the bounds land in the units of an HSV stream (hue 0-180, the rest 0-255).
cv::Scalar BgrToStreamHsv(const cv::Scalar& bgr)
{
    cv::Mat pixel(1, 1, CV_8UC3);
    pixel.at<cv::Vec3b>(0, 0) = cv::Vec3b(cv::saturate_cast<uchar>(bgr[0]), cv::saturate_cast<uchar>(bgr[1]),
                                          cv::saturate_cast<uchar>(bgr[2]));
    cv::cvtColor(pixel, pixel, cv::COLOR_BGR2HSV);
    const cv::Vec3b hsv = pixel.at<cv::Vec3b>(0, 0);
    return cv::Scalar(hsv[0], hsv[1], hsv[2], 0);
}

// Truncation toward zero that stays defined for colours typed far out of range.
int TruncateToInt(double value)
{
    if (std::isnan(value))
        return 0;
    if (value <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    if (value >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return static_cast<int>(value);
}

}  // namespace

InRangeThesholdElement::InRangeThesholdElement(boost::shared_ptr<ControlAndStatus> controls)
    : ElementFilter<VideoFrame>(controls)
{
    signal_container.AddSignal(&reset_to_selected_, "_ResetToSelected");
    connections.push_back(reset_to_selected_.connect([this] { ResetToSelected(); }));

    settings.AddSetting("_pick_colour", &pick_colour_, "");
    settings.AddSetting("_sensitivity", &sensitivity_, kLevelDescriptor);
    settings.AddSetting("_channel_0_min", &channel_0_min_, kLevelDescriptor);
    settings.AddSetting("_channel_0_max", &channel_0_max_, kLevelDescriptor);
    settings.AddSetting("_channel_1_min", &channel_1_min_, kLevelDescriptor);
    settings.AddSetting("_channel_1_max", &channel_1_max_, kLevelDescriptor);
    settings.AddSetting("_channel_2_min", &channel_2_min_, kLevelDescriptor);
    settings.AddSetting("_channel_2_max", &channel_2_max_, kLevelDescriptor);
}

InRangeThesholdElement::~InRangeThesholdElement() = default;

PassableItem<VideoFrame> InRangeThesholdElement::Process(PassableItem<VideoFrame> item)
{
    VideoFrame& frame = *item.data;
    // The bounds are 8-bit levels of three channels at most.
    ToEightBit(frame.image, frame.image, ChannelsWanted::GreyOrColour);
    const int colour_space = frame.UpdateFormatFromMat().GetColourSpace();
    if (colour_space != last_colour_space_.Get()) {
        last_colour_space_.Set(colour_space);
        SetRangesFromColour(colour_space);
        RequestLayoutUpdate();
    }

    static const SettingRange<int> level_range(kLevelDescriptor);
    cv::Scalar lower(0, 0, 0, 0);
    cv::Scalar upper(0, 0, 0, 0);
    for (int k = 0; k < 3; ++k) {
        lower[k] = level_range.Hold(mins_[k]->Get());
        upper[k] = level_range.Hold(maxs_[k]->Get());
    }
    cv::inRange(frame.image, lower, upper, frame.image);
    return item;
}

void InRangeThesholdElement::ResetToSelected()
{
    SetRangesFromColour(last_colour_space_.Get());
    RequestLayoutUpdate();
}

void InRangeThesholdElement::SetRangesFromColour(int colour_space)
{
    cv::Scalar colour;
    if (colour_space == VideoFormat::BGR)
        colour = pick_colour_.Get();
    else if (colour_space == VideoFormat::HSV)
        colour = BgrToStreamHsv(pick_colour_.Get());
    else
        return;

    static const SettingRange<int> level_range(kLevelDescriptor);
    const int sensitivity = level_range.Hold(sensitivity_.Get());
    for (int k = 0; k < 3; ++k) {
        mins_[k]->Set(TruncateToInt(colour[k] - sensitivity));
        maxs_[k]->Set(TruncateToInt(colour[k] + sensitivity));
    }
}
