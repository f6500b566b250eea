#include "ui/editor/QNodesEditor.h"

#include "control/PowerCommanderTop.h"
#include "core/ControlAndStatus.h"
#include "ui/editor/ElementNodeBase.h"
#include "ui/editor/QNEConnection.h"
#include "ui/editor/QNEPort.h"

#include <QEvent>
#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>

QNodesEditor::QNodesEditor(boost::shared_ptr<ControlAndStatus> hub, QObject* parent)
    : QObject(parent), hub_(std::move(hub))
{
}

QNodesEditor::~QNodesEditor()
{
    CancelDrag();
}

void QNodesEditor::Install(QGraphicsScene* scene)
{
    scene->installEventFilter(this);
    scene_ = scene;
}

QGraphicsItem* QNodesEditor::ItemAt(const QPointF& scene_point) const
{
    const QRectF area(scene_point - QPointF(1, 1), QSizeF(3, 3));
    for (QGraphicsItem* item : scene_->items(area, Qt::IntersectsItemShape, Qt::DescendingOrder)) {
        if (item->type() > QGraphicsItem::UserType)
            return item;
    }
    return nullptr;
}

void QNodesEditor::CancelDrag()
{
    delete dragged_;  // it has no second port, so it announces nothing
    dragged_ = nullptr;
}

bool QNodesEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == scene_) {
        switch (event->type()) {
        case QEvent::GraphicsSceneMouseMove:
            if (dragged_) {
                dragged_->SetPos2(static_cast<QGraphicsSceneMouseEvent*>(event)->scenePos());
                dragged_->UpdatePath();
                return true;
            }
            break;
        case QEvent::GraphicsSceneMousePress:
            return OnPress(static_cast<QGraphicsSceneMouseEvent*>(event));
        case QEvent::GraphicsSceneMouseRelease:
            return OnRelease(static_cast<QGraphicsSceneMouseEvent*>(event));
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

bool QNodesEditor::OnPress(QGraphicsSceneMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        CancelDrag();  // a line left over from a release that never came
        return OnLeftPress(ItemAt(event->scenePos()), event);
    }
    if (event->button() == Qt::RightButton) {
        if (dragged_)
            return true;  // no deleting under a live drag
        return OnRightPress(ItemAt(event->scenePos()), event->scenePos());
    }
    return false;
}

bool QNodesEditor::OnLeftPress(QGraphicsItem* item, QGraphicsSceneMouseEvent* event)
{
    if (!item)
        return false;
    if (item->type() == QNEPort::Type) {
        auto* port = static_cast<QNEPort*>(item);
        if (!IsPadConnected(port))
            StartDrag(port, event->scenePos());
        return true;
    }
    if (item->type() == ElementNodeBase::Type)
        static_cast<ElementNodeBase*>(item)->BringToFront();
    return false;
}

bool QNodesEditor::OnRightPress(QGraphicsItem* item, const QPointF& scene_point)
{
    if (!item)
        return false;
    const bool line = item->type() == QNEConnection::Type;
    const bool node = item->type() == ElementNodeBase::Type;
    // A right click in a node's text field is for its menu, not for deleting the node.
    if (line || (node && !IsOverEmbeddedWidget(item, scene_point)))
        delete item;
    return false;
}

bool QNodesEditor::OnRelease(QGraphicsSceneMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !dragged_)
        return false;
    QNEConnection* line = dragged_;
    dragged_ = nullptr;
    QGraphicsItem* item = ItemAt(event->scenePos());
    QNEPort* start = line->Port1();
    QNEPort* target = item && item->type() == QNEPort::Type ? static_cast<QNEPort*>(item) : nullptr;
    if (!target || IsPadConnected(target) || !CanLink(start, target)) {
        delete line;
        return true;
    }
    line->SetPos2(target->scenePos());
    line->SetPort2(target);
    if (start->IsOutput())
        PortsConnected(start, target);
    else
        PortsConnected(target, start);
    line->UpdatePath();
    return true;
}

void QNodesEditor::StartDrag(QNEPort* port, const QPointF& scene_point)
{
    dragged_ = new QNEConnection();
    scene_->addItem(dragged_);
    dragged_->SetPort1(port);
    dragged_->SetPos1(port->scenePos());
    dragged_->SetPos2(scene_point);
    dragged_->UpdatePath();
    dragged_->Disconnected.connect(
        [this](QNEPort* output, QNEPort* input) { PortsDisconnected(output, input); });
}

bool QNodesEditor::IsPadConnected(const QNEPort* port) const
{
    PowerCommanderTop* commander = hub_->GetCommander();
    return commander && port->GetNode() &&
           commander->IsPortConnected(port->GetNode()->GetElementId(), port->Name().toStdString());
}

bool QNodesEditor::IsOverEmbeddedWidget(const QGraphicsItem* node, const QPointF& scene_point) const
{
    for (QGraphicsItem* item : scene_->items(scene_point)) {
        if (node->isAncestorOf(item) && dynamic_cast<QGraphicsProxyWidget*>(item))
            return true;
    }
    return false;
}

bool QNodesEditor::CanLink(const QNEPort* start, const QNEPort* target)
{
    return target->GetNode() != start->GetNode() && target->IsOutput() != start->IsOutput() &&
           !start->IsConnected(target) && start->TypeName() == target->TypeName();
}
