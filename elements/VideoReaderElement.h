// "Video Read": plays an image sequence, a video file or a raw video file as a stream
// of frames, looping at the end. The play position is shared with the playback widget.
// The element owns its current reader; the reader mutex serialises the reader between
// the output connection's thread (frames) and the GUI thread (pipeline reset).
#pragma once

#include <functional>
#include <string>

#include <boost/shared_ptr.hpp>
#include <boost/thread/recursive_mutex.hpp>

#include "core/CameraControls.h"
#include "core/FrameNumber.h"
#include "core/PreviewControls.h"
#include "core/ThreadSafeVariable.h"
#include "core/VideoFrame.h"
#include "elements/ImageReaderInterface.h"
#include "elements/OncePerPath.h"
#include "elements/VideoCaptureInterface.h"
#include "engine/ElementOutput.h"

class ControlAndStatus;

class VideoReaderElement : public ElementOutput<VideoFrame> {
public:
    using CaptureMaker = std::function<boost::shared_ptr<VideoCaptureInterface>()>;

    explicit VideoReaderElement(boost::shared_ptr<ControlAndStatus> context);
    // Video files are read through the captures that make_capture gives.
    VideoReaderElement(boost::shared_ptr<ControlAndStatus> context, CaptureMaker make_capture);
    ~VideoReaderElement() override;

    // Makes the first reader that accepts "_file_path"; the play position stays.
    void Reset() override;
    // Throws "Could not read frame" while no reader accepts the path or the file yields no
    // frame, and says so in the log once per path: an empty frame is never handed on.
    PassableItem<VideoFrame> MakeData() override;
    void OnOneSecondTick() override;

private:
    void RefuseFrame();

    CaptureMaker make_capture_;
    boost::shared_ptr<ImageReaderInterface> reader_;
    ThreadSafeVariable<std::string> file_path_;
    ThreadSafeVariable<bool> pause_{false};
    FrameNumber frame_number_;
    boost::recursive_mutex reader_mutex_;  // guards reader_, opened_path_ and failures_
    boost::shared_ptr<CameraControls> camera_controls_;
    ThreadSafeVariable<long long> last_second_counter_{0};
    ThreadSafeVariable<long long> frame_counter_{0};
    std::string opened_path_;
    OncePerPath failures_;
    PreviewControls preview_;
};
