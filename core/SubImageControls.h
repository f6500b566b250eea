#pragma once
// The inset box of the video-in-video element and the images its selector widget shows.
// Owned by the element; the pipe is shared with the widgets that pop from it.

#include "core/ControlBaseClass.h"
#include "core/InternalPipe.h"
#include "core/ThreadSafeVariable.h"

#include <QImage>
#include <boost/shared_ptr.hpp>
#include <opencv2/core.hpp>

class SubImageControls : public ControlBaseClass {
public:
    SubImageControls();
    ~SubImageControls() override;

    ThreadSafeVariable<cv::Size> image_size{cv::Size(0, 0)};         // size of the frames under the box
    ThreadSafeVariable<cv::Rect> box{cv::Rect(100, 100, 100, 100)};  // in image pixels
    boost::shared_ptr<InternalPipe<QImage>> image_pipe;
};
