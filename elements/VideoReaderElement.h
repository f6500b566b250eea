// "Video Read": plays an image sequence, a video file or a raw video file as a stream
// of frames, looping at the end. The play position is shared with the playback widget.
// The element owns its current reader; the reader mutex serialises the reader between
// the output connection's thread (frames) and the GUI thread (pipeline reset).
#pragma once

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
#include "engine/ElementOutput.h"

class ControlAndStatus;

class VideoReaderElement : public ElementOutput<VideoFrame> {
public:
    explicit VideoReaderElement(boost::shared_ptr<ControlAndStatus> context);
    ~VideoReaderElement() override;

    // Makes the first reader that accepts "_file_path"; the play position stays.
    void Reset() override;
    // Throws "Could not read frame" while no reader accepts the path, and says so in the
    // log once per path.
    PassableItem<VideoFrame> MakeData() override;
    void OnOneSecondTick() override;

private:
    void RefuseFrame();

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
