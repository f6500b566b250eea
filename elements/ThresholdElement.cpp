#include "elements/ThresholdElement.h"

#include <opencv2/imgproc.hpp>

#include "core/ImageConversions.h"
#include "elements/SettingRange.h"

namespace {

const char kThresholdDescriptor[] = "min=1, max=255";
const char kMaxValueDescriptor[] = "min=0, max=255";

}  // namespace

ThresholdElement::ThresholdElement(boost::shared_ptr<ControlAndStatus> controls)
    : ElementFilter<VideoFrame>(controls)
{
    settings.AddSetting("_threshold", &threshold_, kThresholdDescriptor);
    settings.AddSetting("_max_value", &max_value_, kMaxValueDescriptor);
    settings.AddSetting("_type", &type_,
                        "items=[Binary][Binary Inverted][Truncated][To Zero][To Zero Inverted]");
}

ThresholdElement::~ThresholdElement() = default;

PassableItem<VideoFrame> ThresholdElement::Process(PassableItem<VideoFrame> item)
{
    cv::Mat& image = item.data->image;
    ToEightBit(image, image, ChannelsWanted::Grey);
    static const SettingRange<int> threshold_range(kThresholdDescriptor);
    static const SettingRange<int> max_value_range(kMaxValueDescriptor);
    cv::threshold(image, image, static_cast<double>(threshold_range.Hold(threshold_.Get())),
                  static_cast<double>(max_value_range.Hold(max_value_.Get())), type_.Get());
    return item;
}
