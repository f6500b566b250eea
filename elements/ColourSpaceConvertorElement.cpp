#include "elements/ColourSpaceConvertorElement.h"

#include <map>
#include <utility>

#include <opencv2/imgproc.hpp>

#include "core/ImageConversions.h"
#include "core/VideoFormat.h"

namespace {

std::vector<int> FromGrey(int to)
{
    switch (to) {
    case VideoFormat::BGR:
        return {cv::COLOR_GRAY2BGR};
    case VideoFormat::RGB:
        return {cv::COLOR_GRAY2RGB};
    case VideoFormat::HSV:
        return {cv::COLOR_GRAY2BGR, cv::COLOR_BGR2HSV};
    case VideoFormat::YCrCb:
        return {cv::COLOR_GRAY2BGR, cv::COLOR_BGR2YCrCb};
    default:
        return {};
    }
}

std::vector<int> FromColour(int from, int to)
{
    using VF = VideoFormat;
    static const std::map<std::pair<int, int>, std::vector<int>> table = {
        {{VF::BGR, VF::RGB}, {cv::COLOR_BGR2RGB}},
        {{VF::BGR, VF::HSV}, {cv::COLOR_BGR2HSV}},
        {{VF::BGR, VF::GREY}, {cv::COLOR_BGR2GRAY}},
        {{VF::BGR, VF::YCrCb}, {cv::COLOR_BGR2YCrCb}},
        {{VF::RGB, VF::BGR}, {cv::COLOR_RGB2BGR}},
        {{VF::RGB, VF::HSV}, {cv::COLOR_RGB2HSV}},
        {{VF::RGB, VF::GREY}, {cv::COLOR_RGB2GRAY}},
        {{VF::RGB, VF::YCrCb}, {cv::COLOR_RGB2YCrCb}},
        {{VF::HSV, VF::BGR}, {cv::COLOR_HSV2BGR}},
        {{VF::HSV, VF::RGB}, {cv::COLOR_HSV2RGB}},
        {{VF::HSV, VF::GREY}, {cv::COLOR_HSV2RGB, cv::COLOR_RGB2GRAY}},
        {{VF::HSV, VF::YCrCb}, {cv::COLOR_HSV2BGR, cv::COLOR_BGR2YCrCb}},
        {{VF::YCrCb, VF::BGR}, {cv::COLOR_YCrCb2BGR}},
        {{VF::YCrCb, VF::RGB}, {cv::COLOR_YCrCb2RGB}},
        {{VF::YCrCb, VF::HSV}, {cv::COLOR_YCrCb2RGB, cv::COLOR_RGB2HSV}},
        {{VF::YCrCb, VF::GREY}, {cv::COLOR_YCrCb2RGB, cv::COLOR_RGB2GRAY}},
    };
    const auto found = table.find({from, to});
    return found == table.end() ? std::vector<int>() : found->second;
}

}  // namespace

ColourSpaceConvertorElement::ColourSpaceConvertorElement(boost::shared_ptr<ControlAndStatus> controls)
    : ElementFilter<VideoFrame>(controls)
{
    settings.AddSetting("_output_colourspace", &output_colourspace_, MakeColourSpaceItems());
}

ColourSpaceConvertorElement::~ColourSpaceConvertorElement() = default;

std::string ColourSpaceConvertorElement::MakeColourSpaceItems()
{
    return "items=[BGR][RGB][HSV][GREY][YCrCb]";
}

std::vector<int> ColourSpaceConvertorElement::ConversionCodes(int channels, int from, int to)
{
    if (from == to)
        return {};
    if (channels == 1)
        return FromGrey(to);
    if (channels == 3)
        return FromColour(from, to);
    return {};
}

PassableItem<VideoFrame> ColourSpaceConvertorElement::Process(PassableItem<VideoFrame> item)
{
    VideoFrame& frame = *item.data;
    // No conversion takes alpha, and HSV takes 16 bits neither; float it takes as it is.
    if (frame.image.depth() != CV_32F)
        ToEightBit(frame.image, frame.image, ChannelsWanted::GreyOrColour);
    const VideoFormat format = frame.UpdateFormatFromMat();
    // One read: the frame is converted for, and labelled with, the same target.
    const int to = output_colourspace_.Get();
    const std::vector<int> codes = ConversionCodes(format.GetChannels(), format.GetColourSpace(), to);
    if (codes.empty())
        return item;

    for (const int code : codes)
        cv::cvtColor(frame.image, frame.image, code);
    frame.UpdateFormatFromMat().SetColourSpace(static_cast<VideoFormat::ColourSpace>(to));
    return item;
}
