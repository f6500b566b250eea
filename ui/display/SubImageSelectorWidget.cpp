#include "ui/display/SubImageSelectorWidget.h"

#include "core/FILELog.h"
#include "core/ImageConversions.h"
#include "core/SubImageControls.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace {

bool HasArea(cv::Size size)
{
    return size.width >= 1 && size.height >= 1;
}

int HeightAtAspect(int width, cv::Size image)
{
    return static_cast<int>(width / (static_cast<double>(image.width) / image.height));
}

int ResizedSide(int side, int room)
{
    return std::max(std::min(side, room), SubImageSelectorWidget::kMinBoxSide);
}

}  // namespace

SubImageSelectorWidget::SubImageSelectorWidget(SubImageControls* controls, QWidget* parent)
    : GUISettingItem(parent), controls_(controls)
{
    connect(&timer_, SIGNAL(timeout()), this, SLOT(SetImage()));
    timer_.start(25);
    const cv::Size image = controls_->image_size.Get();
    if (HasArea(image)) {
        setMinimumHeight(HeightAtAspect(300, image));
        UpdateMapper();
    }
}

void SubImageSelectorWidget::SetImage()
{
    if (!controls_->image_pipe) {
        return;
    }
    // Only the newest image is shown; older ones would only be scaled and dropped.
    PassableItem<QImage> newest;
    for (PassableItem<QImage> item = controls_->image_pipe->Pop(); item.IsValid();
         item = controls_->image_pipe->Pop()) {
        newest = item;
    }
    if (!newest.IsValid()) {
        return;
    }
    last_image_ = *newest.data;
    const cv::Size image = controls_->image_size.Get();
    if (HasArea(image)) {
        setMinimumHeight(HeightAtAspect(width(), image));
        UpdateMapper();
    }
    ScaleImage();
    update();
}

void SubImageSelectorWidget::UpdateMapper()
{
    mapper_.SetImageSize(controls_->image_size.Get());
    mapper_.SetWidgetSize(width(), height());
}

void SubImageSelectorWidget::ScaleImage()
{
    if (last_image_.isNull() || width() < 1 || height() < 1) {
        scaled_image_ = QImage();
        return;
    }
    scaled_image_ = last_image_.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

bool SubImageSelectorWidget::SizesValid() const
{
    return HasArea(controls_->image_size.Get()) && width() >= 1 && height() >= 1;
}

QRect SubImageSelectorWidget::BoxInWidget() const
{
    const cv::Rect box = controls_->box.Get();
    const QPoint top_left = ToIntPoint(mapper_.ImageToWidget(cv::Point2d(box.x, box.y)));
    const QPoint bottom_right =
        ToIntPoint(mapper_.ImageToWidget(cv::Point2d(box.x + box.width, box.y + box.height)));
    return QRect(top_left, bottom_right);
}

QRect SubImageSelectorWidget::HandleInWidget() const
{
    const QRect box = BoxInWidget();
    return QRect(box.right() - kHandleSize + 1, box.bottom() - kHandleSize + 1, kHandleSize, kHandleSize);
}

void SubImageSelectorWidget::paintEvent(QPaintEvent* event)
{
    GUISettingItem::paintEvent(event);
    QPainter painter(this);
    if (!scaled_image_.isNull()) {
        painter.drawImage(0, 0, scaled_image_);
    }
    if (!HasArea(controls_->image_size.Get())) {
        return;
    }
    painter.fillRect(BoxInWidget(), QColor(120, 120, 120, 125));
    const QColor handle(0, 0, 255, 120);
    painter.setPen(handle);
    painter.setBrush(handle);
    painter.drawRect(HandleInWidget());
}

void SubImageSelectorWidget::resizeEvent(QResizeEvent* event)
{
    GUISettingItem::resizeEvent(event);
    UpdateMapper();
    ScaleImage();
}

void SubImageSelectorWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !SizesValid()) {
        return;
    }
    UpdateMapper();
    pressed_ = true;
    press_position_ = event->pos();
    const cv::Rect box = controls_->box.Get();
    box_x_ = box.x;
    box_y_ = box.y;
    box_width_ = box.width;
    box_height_ = box.height;
    if (HandleInWidget().contains(event->pos())) {
        resizing_ = true;
    } else if (BoxInWidget().contains(event->pos())) {
        moving_ = true;
    }
}

cv::Point SubImageSelectorWidget::ImageOffset(QPoint offset) const
{
    const cv::Point2d mapped = mapper_.WidgetToImage(ToDoublePoint(offset));
    return cv::Point(cvRound(mapped.x), cvRound(mapped.y));
}

void SubImageSelectorWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (!pressed_ || !(moving_ || resizing_) || !SizesValid()) {
        return;
    }
    const QPoint offset = press_position_ - event->pos();
    const cv::Size image = controls_->image_size.Get();
    cv::Rect box;
    if (moving_) {
        const cv::Point d = ImageOffset(offset);
        box = cv::Rect(box_x_ - d.x, box_y_ - d.y, box_width_, box_height_);
    } else {
        // The corner follows the mouse: the box keeps its place, at least the minimum
        // size (fitting alone keeps a small box that is inside) and cut at the edge.
        const cv::Point d = ImageOffset(-offset);
        box = cv::Rect(box_x_, box_y_, ResizedSide(box_width_ + d.x, image.width - box_x_),
                       ResizedSide(box_height_ + d.y, image.height - box_y_));
    }
    FitRectInImage(box, image, kMinBoxSide);
    controls_->box.Set(box);
    update();
}

void SubImageSelectorWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        return;
    }
    if (moving_ || resizing_) {
        const cv::Rect box = controls_->box.Get();
        FILE_LOG(logDEBUG) << "Sub image box " << box.x << ", " << box.y << ", " << box.width << " x "
                           << box.height;
    }
    pressed_ = false;
    moving_ = false;
    resizing_ = false;
}
