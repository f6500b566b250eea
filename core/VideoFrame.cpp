#include "core/VideoFrame.h"

#include <boost/make_shared.hpp>

VideoFrame::VideoFrame() = default;

VideoFrame::VideoFrame(const VideoFrame& other)
    : StructureBase(other), time(other.time), frame_number(other.frame_number), tag(other.tag),
      extra_word(other.extra_word), format(other.format), rate(other.rate)
{
    other.image.copyTo(image);
}

VideoFrame::~VideoFrame() = default;

boost::shared_ptr<VideoFrame> VideoFrame::Clone() const
{
    return boost::make_shared<VideoFrame>(*this);
}

void VideoFrame::SetFormat(const VideoFormat& new_format)
{
    format = new_format;
}

VideoFormat& VideoFrame::UpdateFormatFromMat()
{
    format.SetWidth(image.cols);
    format.SetHeight(image.rows);
    format.SetChannels(image.channels());
    if (image.channels() == 1) {
        format.SetColourSpace(VideoFormat::GREY);
    } else if (image.channels() == 3) {
        const VideoFormat::ColourSpace space = format.GetColourSpace();
        if (space == VideoFormat::GREY || space == VideoFormat::UNSET)
            format.SetColourSpace(VideoFormat::BGR);
    }
    return format;
}

std::string VideoFrame::GetTypeName()
{
    return "2D Info";
}
