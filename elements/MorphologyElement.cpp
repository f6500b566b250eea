#include "elements/MorphologyElement.h"

#include <opencv2/imgproc.hpp>

MorphologyElement::MorphologyElement(boost::shared_ptr<ControlAndStatus> controls, int operation)
    : ElementFilter<VideoFrame>(controls), operation_(operation)
{
    settings.AddSetting("_size", &size_, "min=1, max=11");
    settings.AddSetting("_type", &type_, "items=[Rectangle][Cross][Ellipse]");
}

MorphologyElement::~MorphologyElement() = default;

PassableItem<VideoFrame> MorphologyElement::Process(PassableItem<VideoFrame> item)
{
    const int s = size_.Get();
    const cv::Mat kernel =
        cv::getStructuringElement(type_.Get(), cv::Size(2 * s + 1, 2 * s + 1), cv::Point(s, s));
    cv::Mat& image = item.data->image;
    // The default border value keeps the image edge from eating into the result.
    cv::morphologyEx(image, image, operation_, kernel, cv::Point(-1, -1), 1, cv::BORDER_CONSTANT,
                     cv::morphologyDefaultBorderValue());
    return item;
}
