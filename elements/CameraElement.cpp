#include "elements/CameraElement.h"

#include <cmath>
#include <utility>

#include <boost/make_shared.hpp>
#include <boost/thread/lock_guard.hpp>
#include <opencv2/videoio.hpp>

#include "core/ControlAndStatus.h"
#include "core/CustomException.h"
#include "core/FILELog.h"
#include "elements/OpenCvVideoCapture.h"
#include "engine/MakeUnownedPtr.h"

namespace {

struct CameraProperty {
    const char* name;
    int id;
};

// Probed, and so listed as settings, in this order.
const CameraProperty kCameraProperties[] = {
    {"Brightness", cv::CAP_PROP_BRIGHTNESS},
    {"Contrast", cv::CAP_PROP_CONTRAST},
    {"Hue", cv::CAP_PROP_HUE},
    {"Gain", cv::CAP_PROP_GAIN},
    {"Saturation", cv::CAP_PROP_SATURATION},
    {"Exposure", cv::CAP_PROP_EXPOSURE},
    {"FPS", cv::CAP_PROP_FPS},
    {"Mode", cv::CAP_PROP_MODE},
};

}  // namespace

CameraElement::CameraElement(boost::shared_ptr<ControlAndStatus> context_in)
    : CameraElement(context_in, boost::make_shared<OpenCvVideoCapture>())
{
}

CameraElement::CameraElement(boost::shared_ptr<ControlAndStatus> context_in,
                             boost::shared_ptr<VideoCaptureInterface> capture)
    : ElementBase(context_in), capture_(std::move(capture)), preview_(context_in),
      camera_controls_(context_in->GetSharedControl<CameraControls>(""))
{
    AddOutput(MakeUnownedPtr<Source<VideoFrame>>(this), "Video Out");
    settings.AddSetting("_preview", &preview_, "");
    OpenCamera();
    RegisterProperties();
    log_properties_signal.connect([this] { LogProperties(); });
    StartOneSecondTicks();
}

CameraElement::~CameraElement()
{
    StopOneSecondTicks();
}

void CameraElement::OpenCamera()
{
    if (!capture_->Open(0) || !capture_->IsOpened()) {
        capture_->Release();
        throw CustomException("Camera cannot be loaded");
    }
    FILE_LOG(logDEBUG) << "Camera succesfully opened";
}

void CameraElement::RegisterProperties()
{
    for (const CameraProperty& property : kCameraProperties)
        AddCameraProperty(property.id, property.name);
}

void CameraElement::AddCameraProperty(int property_id, const std::string& name)
{
    const double value = capture_->Get(property_id);
    // Cameras answer -1 for a property they do not have.
    if (std::fabs(value + 1.0) <= 0.1)
        return;
    FILE_LOG(logDEBUG) << "Adding " << name << " as a property of camera";
    auto property = boost::make_shared<VariableWithPropId>(value, property_id, name);
    settings.AddSetting(name, &property->value, "other=no-limits");
    properties_.push_back(property);
}

PassableItem<VideoFrame> CameraElement::GetData()
{
    // Cleared before applying, so a change made meanwhile is applied next frame.
    if (settings_changed_flag.Get()) {
        settings_changed_flag.Set(false);
        ApplyProperties();
    }
    auto frame = boost::make_shared<VideoFrame>();
    {
        boost::lock_guard<boost::mutex> lock(camera_mutex_);
        capture_->Read(frame->image);
    }
    frame->frame_number = frame_counter_++;
    frame->time = stop_watch_.GetElapsedSeconds();
    frame->tag = 0;
    camera_controls_->frame_count.Set(frame->frame_number + 1);
    frame->SetFormat(VideoFormat(frame->image));
    frame->UpdateFormatFromMat();
    frame->format.SetColourSpace(VideoFormat::BGR);
    preview_.SubmitFrame(frame->image);
    return PassableItem<VideoFrame>(frame);
}

void CameraElement::Reset()
{
    stop_watch_.Restart();
}

void CameraElement::OnOneSecondTick()
{
    const long long count = frame_counter_.Get();
    camera_controls_->frame_rate.Set(static_cast<double>(count - last_second_counter_.Get()));
    last_second_counter_.Set(count);
}

void CameraElement::ApplyProperties()
{
    boost::lock_guard<boost::mutex> lock(camera_mutex_);
    for (const boost::shared_ptr<VariableWithPropId>& property : properties_)
        capture_->Set(property->property_id, property->value.Get());
}

void CameraElement::LogProperties()
{
    boost::lock_guard<boost::mutex> lock(camera_mutex_);
    for (const boost::shared_ptr<VariableWithPropId>& property : properties_)
        FILE_LOG(logDEBUG) << "Propery : " << property->name << " = " << capture_->Get(property->property_id);
}
