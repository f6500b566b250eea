#include "elements/AVIVideoReader.h"

#include <cmath>

#include <boost/make_shared.hpp>
#include <boost/thread/lock_guard.hpp>
#include <opencv2/videoio.hpp>

#include "elements/OpenCvVideoCapture.h"

namespace {

// Far beyond any real file (over 200 days at 50 frames a second); containers with a
// broken duration report counts like 9e18.
const double kMaxFrameCount = 1e9;

}  // namespace

AVIVideoReader::AVIVideoReader() : AVIVideoReader(boost::make_shared<OpenCvVideoCapture>()) {}

AVIVideoReader::AVIVideoReader(boost::shared_ptr<VideoCaptureInterface> capture)
    : capture_(std::move(capture))
{
}

AVIVideoReader::~AVIVideoReader()
{
    Close();
}

bool AVIVideoReader::Open(std::string path)
{
    boost::lock_guard<boost::recursive_mutex> lock(mutex_);
    first_frame_.release();
    next_frame_ = -1;
    if (!capture_->Open(path) || !capture_->IsOpened())
        return false;
    frame_rate_.Set(capture_->Get(cv::CAP_PROP_FPS));
    // Reading frame 0 proves the file decodes; a request for frame 1 then reads on.
    next_frame_ = 0;
    first_frame_ = Decode(0);
    return !first_frame_.empty();
}

bool AVIVideoReader::Close()
{
    boost::lock_guard<boost::recursive_mutex> lock(mutex_);
    capture_->Release();
    first_frame_.release();
    next_frame_ = -1;
    return true;
}

bool AVIVideoReader::IsOpen()
{
    boost::lock_guard<boost::recursive_mutex> lock(mutex_);
    return capture_->IsOpened();
}

PassableItem<VideoFrame> AVIVideoReader::GetFrame(std::int64_t frame)
{
    boost::lock_guard<boost::recursive_mutex> lock(mutex_);
    CheckFrameIndex(frame, GetNumberOfFrames());
    auto video_frame = boost::make_shared<VideoFrame>();
    if (capture_->IsOpened()) {
        // A copy: the frame is changed in place downstream.
        video_frame->image = frame == 0 && !first_frame_.empty() ? first_frame_.clone() : Decode(frame);
        video_frame->rate = frame_rate_;
    }
    return PassableItem<VideoFrame>(video_frame);
}

cv::Mat AVIVideoReader::Decode(std::int64_t frame)
{
    cv::Mat image;
    const bool there =
        frame == next_frame_ || capture_->Set(cv::CAP_PROP_POS_FRAMES, static_cast<double>(frame));
    if (!there || !capture_->Read(image) || image.empty()) {
        next_frame_ = -1;
        return cv::Mat();
    }
    next_frame_ = frame + 1;
    return image;
}

std::int64_t AVIVideoReader::GetNumberOfFrames()
{
    boost::lock_guard<boost::recursive_mutex> lock(mutex_);
    if (!capture_->IsOpened())
        return 0;
    const double count = capture_->Get(cv::CAP_PROP_FRAME_COUNT);
    if (!std::isfinite(count) || count < 0.0 || count > kMaxFrameCount)
        return 0;
    return static_cast<std::int64_t>(count);
}
