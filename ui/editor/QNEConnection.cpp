#include "ui/editor/QNEConnection.h"

#include "ui/editor/QNEPort.h"

#include <QBrush>
#include <QPainterPath>
#include <QPen>

QNEConnection::QNEConnection(QGraphicsItem* parent) : QGraphicsPathItem(parent)
{
    setPen(QPen(QBrush(Qt::white), 13.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    setBrush(Qt::NoBrush);
    setZValue(-1);
}

QNEConnection::~QNEConnection()
{
    if (port1_)
        port1_->Connections().removeAll(this);
    if (port2_)
        port2_->Connections().removeAll(this);
    const auto ends = OutputThenInput();
    if (!suppress_disconnect_ && ends.first)
        Disconnected(ends.first, ends.second);
}

void QNEConnection::SetPort1(QNEPort* port)
{
    port1_ = port;
    port1_->Connections().append(this);
}

void QNEConnection::SetPort2(QNEPort* port)
{
    port2_ = port;
    port2_->Connections().append(this);
    const auto ends = OutputThenInput();
    if (ends.first)
        Connected(ends.first, ends.second);
    start_ = port1_->scenePos();
    end_ = port2_->scenePos();
    UpdatePath();
}

void QNEConnection::UpdatePosFromPorts()
{
    if (port1_)
        start_ = port1_->scenePos();
    if (port2_)
        end_ = port2_->scenePos();
}

void QNEConnection::UpdatePath()
{
    const qreal dx = end_.x() - start_.x();
    const qreal dy = end_.y() - start_.y();
    QPainterPath path(start_);
    path.cubicTo(start_.x() + 0.25 * dx, start_.y() + 0.1 * dy, start_.x() + 0.75 * dx, start_.y() + 0.9 * dy,
                 end_.x(), end_.y());
    setPath(path);  // setPath announces the geometry change itself
}

std::pair<QNEPort*, QNEPort*> QNEConnection::OutputThenInput() const
{
    if (!port1_ || !port2_ || port1_->IsOutput() == port2_->IsOutput())
        return {nullptr, nullptr};
    if (port1_->IsOutput())
        return {port1_, port2_};
    return {port2_, port1_};
}
