#include "elements/MorphologyElement.h"

#include <opencv2/imgproc.hpp>

#include "elements/SettingRange.h"

namespace {

const char kSizeDescriptor[] = "min=1, max=11";

}  // namespace

MorphologyElement::MorphologyElement(boost::shared_ptr<ControlAndStatus> controls, int operation)
    : ElementFilter<VideoFrame>(controls), operation_(operation)
{
    settings.AddSetting("_size", &size_, kSizeDescriptor);
    settings.AddSetting("_type", &type_, "items=[Rectangle][Cross][Ellipse]");
}

MorphologyElement::~MorphologyElement() = default;

PassableItem<VideoFrame> MorphologyElement::Process(PassableItem<VideoFrame> item)
{
    static const SettingRange<int> size_range(kSizeDescriptor);
    const int s = size_range.Hold(size_.Get());
    const cv::Mat kernel =
        cv::getStructuringElement(type_.Get(), cv::Size(2 * s + 1, 2 * s + 1), cv::Point(s, s));
    cv::Mat& image = item.data->image;
    // The default border value keeps the image edge from eating into the result.
    cv::morphologyEx(image, image, operation_, kernel, cv::Point(-1, -1), 1, cv::BORDER_CONSTANT,
                     cv::morphologyDefaultBorderValue());
    return item;
}
