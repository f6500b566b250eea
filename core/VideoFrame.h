// The image payload of every video pad: the picture, its format, frame number,
// time and source rate. Owned through PassableItem<VideoFrame>; filters change the
// image in place. No lock: one connection thread holds a frame at a time.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <opencv2/core.hpp>

#include "core/FrameRate.h"
#include "core/PassableItem.h"
#include "core/StructureBase.h"
#include "core/VideoFormat.h"

class VideoFrame : public StructureBase {
public:
    VideoFrame();
    // A clone with its own pixels; format and rate are kept, so a copied HSV
    // frame is still known as HSV. Second image and attached items stay empty.
    VideoFrame(const VideoFrame& other);
    // Frames are shared through items or cloned, never assigned.
    VideoFrame& operator=(const VideoFrame&) = delete;
    ~VideoFrame() override;

    boost::shared_ptr<VideoFrame> Clone() const;

    FrameRate& GetFrameRate() { return rate; }
    // Copies the five format fields.
    void SetFormat(const VideoFormat& new_format);
    // Brings size, channels and colour space of the format in line with the image.
    VideoFormat& UpdateFormatFromMat();

    // Type text of pads that carry frames.
    static std::string GetTypeName();

    double time = 0.0;              // seconds since the source started
    std::int64_t frame_number = 0;  // position in the source
    std::int32_t tag = 0;
    cv::Mat image;
    cv::Mat second_image;
    std::vector<PassableItem<StructureBase>> attached_items;
    std::uint64_t extra_word = 0;
    VideoFormat format;
    FrameRate rate;
};
