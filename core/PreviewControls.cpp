#include "core/PreviewControls.h"

#include "core/ControlAndStatus.h"
#include "core/CustomException.h"
#include "core/FILELog.h"
#include "core/OpenCvToQtConversions.h"
#include "core/PreviewSettings.h"
#include "core/WorkerPool.h"

#include <boost/make_shared.hpp>
#include <boost/thread/lock_guard.hpp>

#include <algorithm>
#include <cmath>

namespace {

boost::shared_ptr<PreviewSettings> FetchPreviewSettings(const boost::shared_ptr<ControlAndStatus>& hub)
{
    if (!hub) {
        throw CustomException("Preview controls need the control hub");
    }
    return hub->GetSharedControl<PreviewSettings>("");
}

// No wider than a screen could show, whatever a zoom asks for.
constexpr int kMaxImageWidth = 8192;

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
        CvToQtRescaler& rescaler = hand_over_->rescaler;
        rescaler.SetWidth(image_width_.Get(), image.size());
        rescaler.SetHighQuality(preview_settings_->high_quality_rescaling.Get());
        if (!rescaler.Shrink(image)) {
            EndRescale();  // a widget without area has nothing to show
            return;
        }
        boost::shared_ptr<HandOver> hand_over = hand_over_;
        GlobalWorkerPool().Post([hand_over] { RunRescale(hand_over); });
    } catch (...) {
        EndRescale();
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

void PreviewControls::RequestPreview(int width, double pixel_ratio)
{
    preview_width_.Set(width);
    // A ratio that is not a positive number keeps the widget's own width.
    const double pixels = pixel_ratio > 0.0 ? std::round(width * pixel_ratio) : width;
    image_width_.Set(static_cast<int>(std::min(pixels, static_cast<double>(kMaxImageWidth))));
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
    boost::shared_ptr<QImage> finished;
    cv::Size source_size;
    {
        boost::lock_guard<boost::mutex> lock(hand_over_->mutex);
        hand_over_->ready = false;
        finished = hand_over_->finished;
        source_size = hand_over_->finished_source_size;
    }
    if (!finished) {
        FILE_LOG(logERROR) << "Null Image in rescaler";
        return finished;
    }
    // Map against the frame this image was made from, even if a newer frame has another size.
    const int width = preview_width_.Get();
    {
        boost::lock_guard<boost::mutex> lock(mapper_mutex_);
        mapper_.SetImageSize(source_size);
        mapper_.SetWidgetSize(width, CvToQtRescaler::HeightForWidth(width, source_size));
    }
    return finished;
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

void PreviewControls::RunRescale(const boost::shared_ptr<HandOver>& hand_over)
{
    boost::shared_ptr<QImage> image;
    try {
        image = hand_over->rescaler.Convert();
    } catch (...) {
        // Otherwise this preview would never receive another frame.
        boost::lock_guard<boost::mutex> lock(hand_over->mutex);
        hand_over->busy = false;
        throw;
    }
    boost::lock_guard<boost::mutex> lock(hand_over->mutex);
    hand_over->finished = image;
    hand_over->finished_source_size = hand_over->rescaler.GetSourceSize();
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

void PreviewControls::EndRescale()
{
    boost::lock_guard<boost::mutex> lock(hand_over_->mutex);
    hand_over_->busy = false;
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
