// The one way tests make video frames: a payload of its own, as a source hands it on.
#pragma once

#include <cstdint>

#include <boost/make_shared.hpp>
#include <opencv2/core.hpp>

#include "core/PassableItem.h"
#include "core/VideoFormat.h"
#include "core/VideoFrame.h"

namespace testsupport {

// The image is copied, so an element that works in place never changes the caller's
// picture; the format keeps its default colour space (grey) unless one is given.
inline PassableItem<VideoFrame> MakeFrame(const cv::Mat& image = cv::Mat(), std::int64_t number = 0,
                                          double time = 0.0)
{
    PassableItem<VideoFrame> item(boost::make_shared<VideoFrame>());
    item.data->image = image.clone();
    item.data->frame_number = number;
    item.data->time = time;
    return item;
}

inline PassableItem<VideoFrame> MakeFrame(const cv::Mat& image, VideoFormat::ColourSpace space)
{
    PassableItem<VideoFrame> item = MakeFrame(image);
    item.data->format.SetColourSpace(space);
    return item;
}

// A numbered frame without pixels, for tests that follow frames, not pictures.
inline PassableItem<VideoFrame> NumberedFrame(std::int64_t number, double time = 0.0)
{
    return MakeFrame(cv::Mat(), number, time);
}

}  // namespace testsupport
