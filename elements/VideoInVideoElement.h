// "Video In Video": blends the frames of "second input" into a box of the main
// frames and pushes an RGB copy of each result into the sub-image pipe, where
// the box selector widget shows it (the element's own preview is off). While
// "second input" is unconnected the main frames pass unblended; while "input"
// is, second frames are dropped. The element owns its sub-image record, its
// variables and its extra pad.
#pragma once

#include <opencv2/core.hpp>

#include "core/FrameTypeWarning.h"
#include "core/SubImageControls.h"
#include "core/ThreadSafeVariable.h"
#include "core/VideoFrame.h"
#include "engine/BoltOnSink.h"
#include "engine/ElementFilter.h"

class ControlAndStatus;

class VideoInVideoElement : public ElementFilter<VideoFrame> {
public:
    explicit VideoInVideoElement(boost::shared_ptr<ControlAndStatus> controls);
    ~VideoInVideoElement() override;

    // Waits for the next second frame while "second input" is connected.
    PassableItem<VideoFrame> Process(PassableItem<VideoFrame> item) override;

private:
    void NoteImageSize(const cv::Mat& image);
    // The box becomes t * second + (1 - t) * main, inside the image only; both are brought to
    // 8 bits, alpha dropped, and the second to the main image's channels.
    void BlendInto(cv::Mat& image, cv::Mat& second);
    void PushToSelector(const cv::Mat& image);

    BoltOnSink<VideoFrame> second_input_;
    SubImageControls sub_image_controls_;
    // Weight of the second stream: 0 shows the main image only, 1 the second opaque.
    ThreadSafeVariable<double> transparency_{0.0};
    FrameTypeWarning unshowable_types_;
};
