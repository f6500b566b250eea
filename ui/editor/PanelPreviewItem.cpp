#include "ui/editor/PanelPreviewItem.h"

#include "ui/display/PreviewWidget.h"

#include <QEvent>
#include <QPainter>

PanelPreviewItem::PanelPreviewItem(PreviewWidget* preview, QWidget* panel, QGraphicsItem* proxy)
    : QGraphicsObject(proxy), preview_(preview), panel_(panel)
{
    setAcceptedMouseButtons(Qt::NoButton);
    setAcceptHoverEvents(false);
    preview->SetDrawnElsewhere(true);
    connect(preview, &PreviewWidget::PictureChanged, this, &PanelPreviewItem::Follow);
    preview->installEventFilter(this);
    Follow();
}

bool PanelPreviewItem::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize || event->type() == QEvent::Move)
        Follow();
    return QGraphicsObject::eventFilter(watched, event);
}

QRectF PanelPreviewItem::boundingRect() const
{
    return bounds_;
}

void PanelPreviewItem::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    if (!preview_ || visible_.isEmpty())
        return;
    painter->setClipRect(visible_, Qt::IntersectClip);
    // The view's zoom: the next images are made at the size they show at.
    preview_->SetPixelRatio(painter->worldTransform().m11());
    preview_->DrawPicture(*painter);
}

void PanelPreviewItem::Follow()
{
    if (!preview_ || !panel_)
        return;
    const QRectF bounds(preview_->rect());
    const QRectF visible(preview_->visibleRegion().boundingRect());
    const QPointF place = preview_->mapTo(panel_, QPoint(0, 0));
    if (bounds != bounds_) {
        prepareGeometryChange();
        bounds_ = bounds;
    }
    visible_ = visible;
    if (pos() != place)
        setPos(place);
    update();
}
