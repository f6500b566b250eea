#include "ui/editor/ElementWidgetBase.h"

#include <QCursor>
#include <QMouseEvent>

#include <algorithm>
#include <cstdlib>

ElementWidgetBase::ElementWidgetBase(QWidget* parent) : QFrame(parent)
{
    setMouseTracking(true);
}

bool ElementWidgetBase::IsNearBottomEdge(const QPoint& position) const
{
    return position.x() >= 0 && position.x() < width() && std::abs(height() - position.y()) <= kEdge;
}

void ElementWidgetBase::CheckMouse()
{
    if (resizing_ || IsNearBottomEdge(mapFromGlobal(QCursor::pos())))
        setCursor(Qt::SplitHCursor);
    else
        setCursor(Qt::ArrowCursor);
}

void ElementWidgetBase::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && IsNearBottomEdge(event->pos()))
        resizing_ = true;
    QFrame::mousePressEvent(event);
}

void ElementWidgetBase::mouseMoveEvent(QMouseEvent* event)
{
    if (resizing_)
        setFixedHeight(std::max(event->pos().y(), 2 * kEdge));
    CheckMouse();
    QFrame::mouseMoveEvent(event);
}

void ElementWidgetBase::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        resizing_ = false;
    CheckMouse();
    QFrame::mouseReleaseEvent(event);
}
