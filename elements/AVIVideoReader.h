// Plays a video file that OpenCV decodes. Reads on from the last frame and seeks only
// when asked for another one. Every operation takes the reader's own mutex.
#pragma once

#include <cstdint>
#include <string>

#include <boost/shared_ptr.hpp>
#include <boost/thread/recursive_mutex.hpp>

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
    // The frame carries the file's frame rate; a failed read leaves its image empty.
    PassableItem<VideoFrame> GetFrame(std::int64_t frame) override;
    // What the file reports, or 0 when that is negative, not finite or absurd.
    std::int64_t GetNumberOfFrames() override;

private:
    boost::shared_ptr<VideoCaptureInterface> capture_;
    boost::recursive_mutex mutex_;  // guards capture_, frame_rate_ and last_frame_
    FrameRate frame_rate_;
    std::int64_t last_frame_ = 0;
};
