#include "elements/MorphologyElement.h"

#include <opencv2/imgproc.hpp>

#include "elements/SettingRange.h"

namespace {

const char kSizeDescriptor[] = "min=1, max=11";
const char kTypeDescriptor[] = "items=[Rectangle][Cross][Ellipse]";

}  // namespace

MorphologyElement::MorphologyElement(boost::shared_ptr<ControlAndStatus> controls, int operation)
    : ElementFilter<VideoFrame>(controls), operation_(operation)
{
    settings.AddSetting("_size", &size_, kSizeDescriptor);
    settings.AddSetting("_type", &type_, kTypeDescriptor);
}

MorphologyElement::~MorphologyElement() = default;

PassableItem<VideoFrame> MorphologyElement::Process(PassableItem<VideoFrame> item)
{
    static const SettingRange<int> size_range(kSizeDescriptor);
    static const SettingRange<int> type_range = SettingRange<int>::OfItems(kTypeDescriptor);
    const int s = size_range.Hold(size_.Get());
    const cv::Mat kernel =
        cv::getStructuringElement(type_range.Hold(type_.Get()), cv::Size(2 * s + 1, 2 * s + 1), cv::Point(s, s));
    cv::Mat& image = item.data->image;
    // The default border value keeps the image edge from eating into the result.
    cv::morphologyEx(image, image, operation_, kernel, cv::Point(-1, -1), 1, cv::BORDER_CONSTANT,
                     cv::morphologyDefaultBorderValue());
    return item;
}
