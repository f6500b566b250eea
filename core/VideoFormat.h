// Describes an image (size, channels, bits per value, colour space); also the
// header of a raw video file. Its five fields are its own settings, so the header
// text is read through the control text form. No lock: one thread owns it.
#pragma once

#include <cstdint>
#include <string>

#include <opencv2/core.hpp>

#include "core/ControlBaseClass.h"

class VideoFormat : public ControlBaseClass {
public:
    enum ColourSpace : std::int32_t { BGR = 0, RGB = 1, HSV = 2, GREY = 3, YCrCb = 4, UNSET = 5 };

    VideoFormat();
    VideoFormat(int width, int height, int channels, int bits_per_pixel, ColourSpace colour_space);
    // Size and channels of the image; 1 channel is GREY, 3 are BGR, others UNSET.
    explicit VideoFormat(const cv::Mat& image);
    // A record of its own with the five fields copied.
    VideoFormat(const VideoFormat& other);
    // Copies the five fields only.
    VideoFormat& operator=(const VideoFormat& other);
    ~VideoFormat() override;

    int GetWidth() const { return width_; }
    void SetWidth(int width) { width_ = width; }
    int GetHeight() const { return height_; }
    void SetHeight(int height) { height_ = height; }
    int GetChannels() const { return channels_; }
    void SetChannels(int channels) { channels_ = channels; }
    int GetBitsPerPixel() const { return bits_per_pixel_; }
    void SetBitsPerPixel(int bits_per_pixel) { bits_per_pixel_ = bits_per_pixel; }
    ColourSpace GetColourSpace() const { return colour_space_; }
    void SetColourSpace(ColourSpace colour_space) { colour_space_ = colour_space; }

    // Bytes of one raw frame: whole bytes per value x channels x height x width,
    // held to the 64-bit range whatever the fields say.
    std::int64_t GetFrameSize() const;
    // Whole frames in a byte count; 0 when the frame size is not positive.
    std::int64_t GetFrameCount(std::int64_t bytes) const;
    // Length of a raw video file's text header.
    static int GetHeaderSize() { return 1024; }
    // 8-bit image of this size: one channel when channels is 1, else three.
    cv::Mat MakeMat() const;
    // Applies a control text form (a raw video header) to the five settings.
    void FromString(const std::string& text);

private:
    void RegisterSettings();

    int width_ = 0;
    int height_ = 0;
    int channels_ = 1;
    int bits_per_pixel_ = 8;
    ColourSpace colour_space_ = GREY;
};
