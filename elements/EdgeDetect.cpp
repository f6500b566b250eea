#include "elements/EdgeDetect.h"

#include <opencv2/imgproc.hpp>

#include "core/ImageConversions.h"
#include "elements/SettingRange.h"

namespace {

const char kThresholdDescriptor[] = "min=0, max=255";

}  // namespace

EdgeDetect::EdgeDetect(boost::shared_ptr<ControlAndStatus> controls) : ElementFilter<VideoFrame>(controls)
{
    settings.AddSetting("_threshold_1", &threshold_1_, kThresholdDescriptor);
    settings.AddSetting("_threshold_2", &threshold_2_, kThresholdDescriptor);
}

EdgeDetect::~EdgeDetect() = default;

PassableItem<VideoFrame> EdgeDetect::Process(PassableItem<VideoFrame> item)
{
    cv::Mat& image = item.data->image;
    ToEightBit(image, image, ChannelsWanted::Grey);
    static const SettingRange<double> threshold_range(kThresholdDescriptor);
    cv::Canny(image, image, threshold_range.Hold(threshold_1_.Get()),
              threshold_range.Hold(threshold_2_.Get()), 3, false);
    return item;
}
