#include "core/VideoFormat.h"

#include <limits>

namespace {

const char* const kRecordName = "Video Format";

}  // namespace

VideoFormat::VideoFormat() : ControlBaseClass(kRecordName)
{
    RegisterSettings();
}

VideoFormat::VideoFormat(int width, int height, int channels, int bits_per_pixel, ColourSpace colour_space)
    : ControlBaseClass(kRecordName), width_(width), height_(height), channels_(channels),
      bits_per_pixel_(bits_per_pixel), colour_space_(colour_space)
{
    RegisterSettings();
}

VideoFormat::VideoFormat(const cv::Mat& image)
    : ControlBaseClass(kRecordName), width_(image.cols), height_(image.rows), channels_(image.channels()),
      bits_per_pixel_(8), colour_space_(UNSET)
{
    if (channels_ == 1)
        colour_space_ = GREY;
    else if (channels_ == 3)
        colour_space_ = BGR;
    RegisterSettings();
}

VideoFormat::VideoFormat(const VideoFormat& other)
    : ControlBaseClass(kRecordName), width_(other.width_), height_(other.height_), channels_(other.channels_),
      bits_per_pixel_(other.bits_per_pixel_), colour_space_(other.colour_space_)
{
    RegisterSettings();
}

VideoFormat& VideoFormat::operator=(const VideoFormat& other)
{
    width_ = other.width_;
    height_ = other.height_;
    channels_ = other.channels_;
    bits_per_pixel_ = other.bits_per_pixel_;
    colour_space_ = other.colour_space_;
    return *this;
}

VideoFormat::~VideoFormat() = default;

void VideoFormat::RegisterSettings()
{
    settings.AddSetting("_width", &width_, "min=1, max=4000");
    settings.AddSetting("_height", &height_, "min=1, max=4000");
    settings.AddSetting("_channels", &channels_, "min=1, max=4");
    settings.AddSetting("_bits_per_pixel", &bits_per_pixel_,
                        "items=[8 bits][16 bits][32 bits float][64 bit float]");
    settings.AddSetting("_type", &colour_space_, "items=[BGR][RGB][[HSV][Grey]");
}

std::int64_t VideoFormat::GetFrameSize() const
{
    // A header read from a file may hold any values: multiply in 128 bits and hold
    // the result to the 64-bit range instead of wrapping.
    const __int128 bytes_per_value = (static_cast<__int128>(bits_per_pixel_) + 7) / 8;
    const __int128 size = bytes_per_value * channels_ * height_ * width_;
    if (size > std::numeric_limits<std::int64_t>::max())
        return std::numeric_limits<std::int64_t>::max();
    if (size < std::numeric_limits<std::int64_t>::min())
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(size);
}

std::int64_t VideoFormat::GetFrameCount(std::int64_t bytes) const
{
    const std::int64_t frame_size = GetFrameSize();
    if (frame_size <= 0 || bytes <= 0)
        return 0;
    return bytes / frame_size;
}

cv::Mat VideoFormat::MakeMat() const
{
    return cv::Mat(height_, width_, channels_ == 1 ? CV_8UC1 : CV_8UC3);
}

void VideoFormat::FromString(const std::string& text)
{
    settings.loader.FromString(text);
}
