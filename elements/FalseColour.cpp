#include "elements/FalseColour.h"

#include <opencv2/imgproc.hpp>

#include "core/ImageConversions.h"

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
    ToEightBit(image, image, ChannelsWanted::GreyOrColour);
    cv::applyColorMap(image, image, mode_.Get());
    return item;
}
