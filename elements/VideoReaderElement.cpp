#include "elements/VideoReaderElement.h"

#include <stdexcept>
#include <utility>

#include <boost/make_shared.hpp>
#include <boost/thread/lock_guard.hpp>

#include "core/ControlAndStatus.h"
#include "core/FILELog.h"
#include "elements/AVIVideoReader.h"
#include "elements/BmpReader.h"
#include "elements/OpenCvVideoCapture.h"
#include "elements/RawImageReader.h"

VideoReaderElement::VideoReaderElement(boost::shared_ptr<ControlAndStatus> context_in)
    : VideoReaderElement(context_in, [] { return boost::make_shared<OpenCvVideoCapture>(); })
{
}

VideoReaderElement::VideoReaderElement(boost::shared_ptr<ControlAndStatus> context_in,
                                       CaptureMaker make_capture)
    : ElementOutput<VideoFrame>(context_in), make_capture_(std::move(make_capture)),
      camera_controls_(context_in->GetSharedControl<CameraControls>("")), preview_(context_in)
{
    settings.AddSetting("_preview", &preview_, "");
    settings.AddSetting("_file_path", &file_path_, "type=file_path");
    settings.AddSetting("_frame_number", &frame_number_, "");
    settings.AddSetting("_pause", &pause_, "");
    StartOneSecondTicks();
}

VideoReaderElement::~VideoReaderElement()
{
    StopOneSecondTicks();
}

void VideoReaderElement::Reset()
{
    boost::lock_guard<boost::recursive_mutex> lock(reader_mutex_);
    reader_.reset();
    const std::string path = file_path_.Get();
    boost::shared_ptr<ImageReaderInterface> reader = boost::make_shared<BmpReader>();
    if (!reader->Open(path)) {
        reader = boost::make_shared<AVIVideoReader>(make_capture_());
        if (!reader->Open(path)) {
            // The last resort stays even unopened: its frames then report the failure.
            reader = boost::make_shared<RawImageReader>();
            reader->Open(path);
        }
    }
    reader_ = reader;
    frame_number_.SetFrameCount(reader_->GetNumberOfFrames());
    opened_path_ = path;
}

PassableItem<VideoFrame> VideoReaderElement::MakeData()
{
    boost::lock_guard<boost::recursive_mutex> lock(reader_mutex_);
    if (!reader_ || file_path_.Get() != opened_path_)
        Reset();
    failures_.Use(opened_path_);
    if (!reader_->IsOpen() || frame_number_.GetFrameCount() < 1)
        RefuseFrame();
    const long long position = frame_number_.GetFrameAndAdvance();
    PassableItem<VideoFrame> item = reader_->GetFrame(position);
    VideoFrame& frame = *item.data;
    if (frame.image.empty())
        RefuseFrame();
    frame.frame_number = position;
    frame_counter_++;
    frame.SetFormat(VideoFormat(frame.image));
    preview_.SubmitFrame(frame.image);
    return item;
}

void VideoReaderElement::RefuseFrame()
{
    // No file chosen yet is no fault; the connection backs off either way, instead of
    // handing on empty frames as fast as it can.
    if (!opened_path_.empty() && failures_.First())
        FILE_LOG(logERROR) << GetId() << ": Could not read frame from " << opened_path_;
    // Not a CustomException, which would log again on every pass.
    throw std::runtime_error("Could not read frame");
}

void VideoReaderElement::OnOneSecondTick()
{
    const long long count = frame_counter_.Get();
    camera_controls_->frame_rate.Set(static_cast<double>(count - last_second_counter_.Get()));
    last_second_counter_.Set(count);
}
