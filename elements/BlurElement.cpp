#include "elements/BlurElement.h"

#include <opencv2/imgproc.hpp>

BlurElement::BlurElement(boost::shared_ptr<ControlAndStatus> controls)
    : ElementFilter<VideoFrame>(controls)
{
    settings.AddSetting("_width", &width_, "min=1, max=10");
    settings.AddSetting("_height", &height_, "min=1, max=10");
}

BlurElement::~BlurElement() = default;

PassableItem<VideoFrame> BlurElement::Process(PassableItem<VideoFrame> item)
{
    cv::Mat& image = item.data->image;
    const cv::Size size(width_.Get(), height_.Get());
    cv::blur(image, image, size, cv::Point(-1, -1), cv::BORDER_REFLECT_101);
    return item;
}
