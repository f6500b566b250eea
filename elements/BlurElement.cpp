#include "elements/BlurElement.h"

#include <opencv2/imgproc.hpp>

#include "elements/SettingRange.h"

namespace {

const char kSideDescriptor[] = "min=1, max=10";

}  // namespace

BlurElement::BlurElement(boost::shared_ptr<ControlAndStatus> controls) : ElementFilter<VideoFrame>(controls)
{
    settings.AddSetting("_width", &width_, kSideDescriptor);
    settings.AddSetting("_height", &height_, kSideDescriptor);
}

BlurElement::~BlurElement() = default;

PassableItem<VideoFrame> BlurElement::Process(PassableItem<VideoFrame> item)
{
    cv::Mat& image = item.data->image;
    static const SettingRange<int> side_range(kSideDescriptor);
    const cv::Size size(side_range.Hold(width_.Get()), side_range.Hold(height_.Get()));
    cv::blur(image, image, size, cv::Point(-1, -1), cv::BORDER_REFLECT_101);
    return item;
}
