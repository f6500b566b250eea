#include "core/PreviewControls.h"

#include "core/ControlAndStatus.h"
#include "core/CustomException.h"
#include "core/FILELog.h"
#include "core/OpenCvToQtConversions.h"
#include "core/PreviewSettings.h"
#include "core/WorkerPool.h"

#include <boost/make_shared.hpp>
#include <boost/thread/lock_guard.hpp>

namespace {

boost::shared_ptr<PreviewSettings> FetchPreviewSettings(const boost::shared_ptr<ControlAndStatus>& hub)
{
    if (!hub) {
        throw CustomException("Preview controls need the control hub");
    }
    return hub->GetSharedControl<PreviewSettings>("");
}

}  // namespace

PreviewControls::PreviewControls(boost::shared_ptr<ControlAndStatus> hub)
    : ControlBaseClass("PreviewControls"), hub_(hub), preview_settings_(FetchPreviewSettings(hub_)),
      hand_over_(boost::make_shared<HandOver>())
{
}

PreviewControls::~PreviewControls() = default;

void PreviewControls::SubmitFrame(const cv::Mat& image)
{
    if (image.empty() || disabled_.Get() || !BeginRescale()) {
        return;
    }
    WarnIfNoRgbForm(image, "Preview", unshowable_types_);
    try {
        if (image.size() != image_size_.Get()) {
            size_changed_.Set(true);
            StoreImageSize(image.size());
        }
        boost::shared_ptr<CvToQtRescaler> rescaler = boost::make_shared<CvToQtRescaler>(image);
        rescaler->SetWidth(preview_width_.Get());
        rescaler->SetHighQuality(preview_settings_->high_quality_rescaling.Get());
        boost::shared_ptr<HandOver> hand_over = hand_over_;
        GlobalWorkerPool().Post([hand_over, rescaler] { RunRescale(hand_over, rescaler); });
    } catch (...) {
        boost::lock_guard<boost::mutex> lock(hand_over_->mutex);
        hand_over_->busy = false;
        throw;
    }
}

bool PreviewControls::TakeSizeChanged()
{
    const bool changed = size_changed_.Get();
    size_changed_.Set(false);
    return changed;
}

bool PreviewControls::IsEnabled()
{
    return !disabled_.Get();
}

void PreviewControls::SetDisabled(bool disabled)
{
    disabled_.Set(disabled);
}

void PreviewControls::RequestPreview(int width)
{
    preview_width_.Set(width);
    wanted_.Set(true);
}

bool PreviewControls::IsPreviewWanted()
{
    return wanted_.Get();
}

bool PreviewControls::IsImageReady()
{
    boost::lock_guard<boost::mutex> lock(hand_over_->mutex);
    return hand_over_->ready;
}

boost::shared_ptr<QImage> PreviewControls::GetImage()
{
    boost::shared_ptr<CvToQtRescaler> finished;
    {
        boost::lock_guard<boost::mutex> lock(hand_over_->mutex);
        hand_over_->ready = false;
        finished = hand_over_->finished;
    }
    if (!finished) {
        FILE_LOG(logERROR) << "Null Image in rescaler";
        return boost::shared_ptr<QImage>();
    }
    // Map against the frame this image was made from, even if a newer frame has another size.
    const cv::Size source_size = finished->GetSourceSize();
    const double aspect = static_cast<double>(source_size.width) / source_size.height;
    const int width = preview_width_.Get();
    {
        boost::lock_guard<boost::mutex> lock(mapper_mutex_);
        mapper_.SetImageSize(source_size);
        mapper_.SetWidgetSize(width, static_cast<int>(width / aspect));
    }
    return finished->GetImage();
}

cv::Size PreviewControls::GetImageSize()
{
    return image_size_.Get();
}

void PreviewControls::SetClickedPoint(QPoint point)
{
    selected_point.Set(MapWidgetPoint(point));
    clicked.Set(true);
}

void PreviewControls::SetPoint(QPoint point)
{
    selected_point.Set(MapWidgetPoint(point));
}

void PreviewControls::RunRescale(const boost::shared_ptr<HandOver>& hand_over,
                                 const boost::shared_ptr<CvToQtRescaler>& rescaler)
{
    try {
        rescaler->Rescale();
    } catch (...) {
        // Otherwise this preview would never receive another frame.
        boost::lock_guard<boost::mutex> lock(hand_over->mutex);
        hand_over->busy = false;
        throw;
    }
    boost::lock_guard<boost::mutex> lock(hand_over->mutex);
    hand_over->finished = rescaler;
    hand_over->ready = true;
    hand_over->busy = false;
}

bool PreviewControls::BeginRescale()
{
    boost::lock_guard<boost::mutex> lock(hand_over_->mutex);
    if (hand_over_->busy || !wanted_.Get()) {
        return false;
    }
    hand_over_->busy = true;
    hand_over_->ready = false;
    wanted_.Set(false);
    return true;
}

void PreviewControls::StoreImageSize(cv::Size size)
{
    image_size_.Set(size);
    boost::lock_guard<boost::mutex> lock(mapper_mutex_);
    mapper_.SetImageSize(size);
}

cv::Point2d PreviewControls::MapWidgetPoint(QPoint point)
{
    boost::lock_guard<boost::mutex> lock(mapper_mutex_);
    return mapper_.WidgetToImage(ToDoublePoint(point));
}
