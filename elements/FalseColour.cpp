#include "elements/FalseColour.h"

#include <opencv2/imgproc.hpp>

FalseColour::FalseColour(boost::shared_ptr<ControlAndStatus> controls) : ElementFilter<VideoFrame>(controls)
{
    settings.AddSetting(
        "_mode", &mode_,
        "items=[Autumn][Bone][Jet][Winter][Rainbow][Ocean][Summer][Spring][Cool][Hsv][Pink][Hot]");
}

FalseColour::~FalseColour() = default;

PassableItem<VideoFrame> FalseColour::Process(PassableItem<VideoFrame> item)
{
    cv::Mat& image = item.data->image;
    cv::applyColorMap(image, image, mode_.Get());
    return item;
}
