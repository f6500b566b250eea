#include "ui/editor/GraphicsWidgetProxyCustom.h"

#include <QGraphicsSceneMouseEvent>

GraphicsWidgetProxyCustom::GraphicsWidgetProxyCustom(QGraphicsItem* parent) : QGraphicsProxyWidget(parent) {}

void GraphicsWidgetProxyCustom::mousePressEvent(QGraphicsSceneMouseEvent* event)
{
    QGraphicsProxyWidget::mousePressEvent(event);
    if (event->isAccepted()) {
        widget_took_press_ = true;
        return;
    }
    event->accept();
    QGraphicsItem::mousePressEvent(event);
    widget_took_press_ = false;
}

void GraphicsWidgetProxyCustom::mouseMoveEvent(QGraphicsSceneMouseEvent* event)
{
    if (widget_took_press_)
        QGraphicsProxyWidget::mouseMoveEvent(event);
    else
        QGraphicsItem::mouseMoveEvent(event);
}

void GraphicsWidgetProxyCustom::mouseReleaseEvent(QGraphicsSceneMouseEvent* event)
{
    QGraphicsProxyWidget::mouseReleaseEvent(event);
    if (!widget_took_press_)
        QGraphicsItem::mouseReleaseEvent(event);
    widget_took_press_ = false;
}
