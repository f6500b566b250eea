#include "ui/editor/QNEPort.h"

#include "ui/editor/QNEConnection.h"

#include <QApplication>
#include <QBrush>
#include <QFont>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QPainterPath>
#include <QPen>

namespace {

struct PortColours {
    Qt::GlobalColor pen;
    Qt::GlobalColor brush;
};

PortColours ColoursFor(const QString& type_name)
{
    if (type_name == "2D Info")
        return {Qt::darkRed, Qt::red};
    if (type_name == "Path")
        return {Qt::darkGreen, Qt::blue};
    if (type_name == "Audio")
        return {Qt::yellow, Qt::darkYellow};
    return {Qt::darkGreen, Qt::green};
}

}  // namespace

QNEPort::QNEPort(QGraphicsItem* parent) : QGraphicsPathItem(parent)
{
    label_ = new QGraphicsTextItem(this);
    label_->setDefaultTextColor(Qt::white);
    QFont font = scene() ? scene()->font() : QApplication::font();
    font.setWeight(QFont::Bold);
    label_->setFont(font);
    // Drawn once and copied on each repaint, as the node is.
    label_->setCacheMode(QGraphicsItem::DeviceCoordinateCache);
    setCacheMode(QGraphicsItem::DeviceCoordinateCache);

    QPainterPath path;
    path.addEllipse(-radius_, -radius_, 2 * radius_, 2 * radius_);
    setPath(path);
    setPen(QPen(Qt::darkRed));
    setBrush(Qt::red);
    setFlag(QGraphicsItem::ItemSendsScenePositionChanges);
}

QNEPort::~QNEPort()
{
    // Each line takes itself out of connections_ as it dies, so work on a copy.
    const QVector<QNEConnection*> lines = connections_;
    for (QNEConnection* line : lines) {
        line->SetSuppressDisconnect(suppress_disconnect_);
        delete line;
    }
}

void QNEPort::SetName(const QString& name)
{
    name_ = name;
    label_->setPlainText(name);
}

void QNEPort::SetTypeName(const std::string& type_name)
{
    type_name_ = QString::fromStdString(type_name);
    const PortColours colours = ColoursFor(type_name_);
    setPen(QPen(colours.pen));
    setBrush(colours.brush);
    setToolTip(type_name_);
}

void QNEPort::SetIsOutput(bool output)
{
    is_output_ = output;
    const QRectF label = label_->boundingRect();
    const qreal x = output ? -(radius_ + margin_) - label.width() : radius_ + margin_;
    label_->setPos(x, -label.height() / 2);
}

bool QNEPort::IsConnected(const QNEPort* other) const
{
    for (const QNEConnection* line : connections_) {
        if (line->Port1() == other || line->Port2() == other)
            return true;
    }
    return false;
}

QVariant QNEPort::itemChange(GraphicsItemChange change, const QVariant& value)
{
    if (change == QGraphicsItem::ItemScenePositionHasChanged) {
        for (QNEConnection* line : connections_) {
            line->UpdatePosFromPorts();
            line->UpdatePath();
        }
    }
    return value;
}
