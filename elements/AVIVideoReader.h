// Plays a video file that OpenCV decodes. Reads on from the last frame and seeks only
// when asked for another one; frame 0, decoded to prove the file at open, is kept and
// served from memory, since some files (those of one frame) cannot seek back to it.
// Every operation takes the reader's own mutex.
#pragma once

#include <cstdint>
#include <string>

#include <boost/shared_ptr.hpp>
#include <boost/thread/recursive_mutex.hpp>
#include <opencv2/core.hpp>

#include "core/FrameRate.h"
#include "elements/ImageReaderInterface.h"
#include "elements/VideoCaptureInterface.h"

class AVIVideoReader : public ImageReaderInterface {
public:
    AVIVideoReader();
    explicit AVIVideoReader(boost::shared_ptr<VideoCaptureInterface> capture);
    ~AVIVideoReader() override;

    // True when the file opened and its first frame could be read.
    bool Open(std::string path) override;
    bool Close() override;
    bool IsOpen() override;
    // The frame carries the file's frame rate; a failed seek or read leaves its image
    // empty, and the next request seeks.
    PassableItem<VideoFrame> GetFrame(std::int64_t frame) override;
    // What the file reports, or 0 when that is negative, not finite or absurd.
    std::int64_t GetNumberOfFrames() override;

private:
    // Frame `frame` from the capture, seeking unless it stands there; empty when none came.
    cv::Mat Decode(std::int64_t frame);

    boost::shared_ptr<VideoCaptureInterface> capture_;
    boost::recursive_mutex mutex_;  // guards capture_, frame_rate_, first_frame_ and next_frame_
    FrameRate frame_rate_;
    cv::Mat first_frame_;
    // The frame the capture reads next; -1 when unknown (nothing opened, or a failure).
    std::int64_t next_frame_ = -1;
};
