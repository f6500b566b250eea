#include "ui/editor/PreviewGraphicsItem.h"

#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
#include <QPainter>

#include <algorithm>

namespace {

constexpr double kMinWidth = 100.0;
constexpr double kWidthStep = 100.0;

}  // namespace

PreviewGraphicsItem::PreviewGraphicsItem(boost::shared_ptr<ControlAndStatus> hub, QGraphicsItem* parent)
    : QGraphicsItem(parent), hub_(std::move(hub))
{
}

void PreviewGraphicsItem::SetImage(const PassableItem<QImage>& image)
{
    if (!image.IsValid() || image.data->isNull() || image.data->height() == 0)
        return;
    image_ = image;
    aspect_ratio_ = static_cast<double>(image.data->width()) / image.data->height();
    Resize(width_);
    update();
}

void PreviewGraphicsItem::SetWidth(double width)
{
    Resize(width);
}

QRectF PreviewGraphicsItem::boundingRect() const
{
    return QRectF(0, 0, width_, width_ / aspect_ratio_);
}

void PreviewGraphicsItem::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    if (image_.IsValid())
        painter->drawImage(draw_rect_, *image_.data);
}

void PreviewGraphicsItem::mouseDoubleClickEvent(QGraphicsSceneMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        Resize(width_ + kWidthStep);
    else if (event->button() == Qt::RightButton)
        Resize(width_ - kWidthStep);
    QGraphicsItem::mouseDoubleClickEvent(event);
    update(0, 0, 4000, 4000);
}

void PreviewGraphicsItem::Resize(double width)
{
    prepareGeometryChange();
    width_ = std::max(kMinWidth, width);
    draw_rect_ = QRectF(0, 0, width_, width_ / aspect_ratio_);
    if (scene())
        scene()->update();
}
