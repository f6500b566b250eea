#include "ui/display/PreviewWidget.h"

#include "core/ControlAndStatus.h"
#include "core/PreviewControls.h"
#include "core/PreviewSettings.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace {

constexpr double kMinRate = 1.0;
constexpr double kMaxRate = 60.0;

}  // namespace

PreviewWidget::PreviewWidget(boost::shared_ptr<ControlAndStatus> hub, PreviewControls* preview_controls,
                             QWidget* parent)
    : GUISettingItem(parent), preview_controls_(preview_controls), hub_(std::move(hub)),
      preview_settings_(hub_->GetSharedControl<PreviewSettings>(""))
{
    connect(&refresh_timer_, SIGNAL(timeout()), this, SLOT(CheckForImages()));
    refresh_timer_.start(10);
}

double PreviewWidget::RequestInterval(double rate)
{
    // Written as a negated test so that NaN takes the slowest rate.
    if (!(rate >= kMinRate)) {
        rate = kMinRate;
    }
    return 1.0 / std::min(rate, kMaxRate);
}

int PreviewWidget::HeightForWidth(int width, int image_width, int image_height)
{
    if (image_width < 1 || image_height < 1) {
        return 0;
    }
    return static_cast<int>(width / (static_cast<double>(image_width) / image_height));
}

void PreviewWidget::CheckForImages()
{
    if (!isVisible() || width() < 1) {
        return;
    }
    if (preview_controls_->IsImageReady()) {
        update();
    } else if (request_clock_.GetElapsedSeconds() >
                   RequestInterval(preview_settings_->max_preview_framerate.Get()) &&
               !preview_controls_->IsPreviewWanted()) {
        request_clock_.Restart();
        preview_controls_->RequestPreview(width());
    }
    FollowImageSize();
}

void PreviewWidget::FollowImageSize()
{
    const cv::Size size = preview_controls_->GetImageSize();
    if (size.width == last_image_width_ && size.height == last_image_height_) {
        return;
    }
    last_image_width_ = size.width;
    last_image_height_ = size.height;
    const int height = HeightForWidth(width(), size.width, size.height);
    if (height >= 1) {
        setFixedHeight(height);
    }
}

void PreviewWidget::paintEvent(QPaintEvent* event)
{
    GUISettingItem::paintEvent(event);
    if (preview_controls_->IsImageReady()) {
        const boost::shared_ptr<QImage> image = preview_controls_->GetImage();
        // A null image is a frame that cannot be shown: better blank than the last one stretched.
        if (image) {
            current_image_ = image->isNull() ? boost::shared_ptr<QImage>() : image;
        }
    }
    QPainter painter(this);
    if (current_image_) {
        painter.drawImage(rect(), *current_image_);
    }
    if (point_shown_) {
        painter.drawLine(point_.x() - 5, point_.y(), point_.x() + 5, point_.y());
        painter.drawLine(point_.x(), point_.y() - 5, point_.x(), point_.y() + 5);
    }
}

void PreviewWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        return;
    }
    preview_controls_->SetClickedPoint(event->pos());
    point_ = event->pos();
    point_shown_ = true;
    update();
}

void PreviewWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() != Qt::NoButton) {
        preview_controls_->SetPoint(event->pos());
    }
}
