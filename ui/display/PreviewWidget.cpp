#include "ui/display/PreviewWidget.h"

#include "core/ControlAndStatus.h"
#include "core/CvToQtRescaler.h"
#include "core/PreviewControls.h"
#include "core/PreviewSettings.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

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
    // The rescaler's own formula, so that an image made for this width fits exactly.
    return CvToQtRescaler::HeightForWidth(width, cv::Size(image_width, image_height));
}

void PreviewWidget::CheckForImages()
{
    if (!isVisible() || width() < 1) {
        return;
    }
    if (preview_controls_->IsImageReady()) {
        if (drawn_elsewhere_) {
            TakeReadyImage();
        }
        ShowChange();
    } else if (request_clock_.GetElapsedSeconds() >
                   RequestInterval(preview_settings_->max_preview_framerate.Get()) &&
               !preview_controls_->IsPreviewWanted()) {
        request_clock_.Restart();
        preview_controls_->RequestPreview(width(), pixel_ratio_);
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

void PreviewWidget::SetDrawnElsewhere(bool elsewhere)
{
    drawn_elsewhere_ = elsewhere;
    update();
}

void PreviewWidget::SetPixelRatio(double ratio)
{
    pixel_ratio_ = ratio;
}

void PreviewWidget::DrawPicture(QPainter& painter) const
{
    if (current_image_) {
        DrawImage(painter, *current_image_);
    }
    if (point_shown_) {
        painter.drawLine(point_.x() - 5, point_.y(), point_.x() + 5, point_.y());
        painter.drawLine(point_.x(), point_.y() - 5, point_.x(), point_.y() + 5);
    }
}

void PreviewWidget::DrawImage(QPainter& painter, const QImage& image) const
{
    const QTransform& transform = painter.worldTransform();
    const QRect device = transform.mapRect(QRectF(rect())).toAlignedRect();
    const QSize slack = device.size() - image.size();
    // An image made for the device size (the widget's height, from the aspect ratio, may
    // round to a pixel more or less) is copied; another is scaled.
    if (transform.type() > QTransform::TxScale || std::abs(slack.width()) > 2 ||
        std::abs(slack.height()) > 2) {
        painter.drawImage(QRectF(rect()), image);
        return;
    }
    painter.save();
    painter.resetTransform();
    painter.setClipRect(device, Qt::IntersectClip);
    painter.drawImage(device.topLeft(), image);
    painter.restore();
}

void PreviewWidget::paintEvent(QPaintEvent* event)
{
    if (drawn_elsewhere_) {
        setAttribute(Qt::WA_OpaquePaintEvent, false);
        GUISettingItem::paintEvent(event);
        return;
    }
    TakeReadyImage();
    // An image made for this size covers the widget, in the painted format: nothing beneath
    // it need be painted.
    const bool covered = current_image_ && current_image_->size() == size();
    setAttribute(Qt::WA_OpaquePaintEvent, covered);
    if (!covered) {
        GUISettingItem::paintEvent(event);
    }
    QPainter painter(this);
    DrawPicture(painter);
}

void PreviewWidget::TakeReadyImage()
{
    if (!preview_controls_->IsImageReady()) {
        return;
    }
    const boost::shared_ptr<QImage> image = preview_controls_->GetImage();
    // A null image is a frame that cannot be shown: better blank than the last one stretched.
    if (image) {
        current_image_ = image->isNull() ? boost::shared_ptr<QImage>() : image;
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
    ShowChange();
}

void PreviewWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() != Qt::NoButton) {
        preview_controls_->SetPoint(event->pos());
    }
}

void PreviewWidget::ShowChange()
{
    if (drawn_elsewhere_) {
        emit PictureChanged();
    } else {
        update();
    }
}
