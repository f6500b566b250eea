#include "elements/DilationElement.h"

#include <opencv2/imgproc.hpp>

DilationElement::DilationElement(boost::shared_ptr<ControlAndStatus> controls)
    : ElementFilter<VideoFrame>(controls)
{
    settings.AddSetting("_size", &size_, "min=1, max=11");
    settings.AddSetting("_type", &type_, "items=[Rectangle][Cross][Ellipse]");
}

DilationElement::~DilationElement() = default;

PassableItem<VideoFrame> DilationElement::Process(PassableItem<VideoFrame> item)
{
    const int s = size_.Get();
    const cv::Mat kernel =
        cv::getStructuringElement(type_.Get(), cv::Size(2 * s + 1, 2 * s + 1), cv::Point(s, s));
    cv::Mat& image = item.data->image;
    // The default border value keeps the image edge from eating into the result.
    cv::dilate(image, image, kernel, cv::Point(-1, -1), 1, cv::BORDER_CONSTANT,
              cv::morphologyDefaultBorderValue());
    return item;
}
