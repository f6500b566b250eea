// The node editor scene's event filter: a left drag from a free port to a compatible
// free port becomes a link, announced as (output port, input port); a right press
// deletes the line or node under the pointer. It owns the line being dragged, if any;
// the node editor widget owns the filter (Qt child).
#pragma once

#include <QObject>
#include <QPointF>

#include <boost/shared_ptr.hpp>
#include <boost/signals2/signal.hpp>

class ControlAndStatus;
class QEvent;
class QGraphicsItem;
class QGraphicsScene;
class QGraphicsSceneMouseEvent;
class QNEConnection;
class QNEPort;

class QNodesEditor : public QObject {
    Q_OBJECT
public:
    using PortPairSignal = boost::signals2::signal<void(QNEPort* output, QNEPort* input)>;

    QNodesEditor(boost::shared_ptr<ControlAndStatus> hub, QObject* parent);
    ~QNodesEditor() override;

    void Install(QGraphicsScene* scene);
    // The topmost editor item (port, line or node) within a pixel of the point, or null.
    QGraphicsItem* ItemAt(const QPointF& scene_point) const;
    // Drops the line being dragged, if any; it announces nothing.
    void CancelDrag();
    bool IsDragging() const { return dragged_ != nullptr; }

    bool eventFilter(QObject* watched, QEvent* event) override;

    PortPairSignal PortsConnected;
    PortPairSignal PortsDisconnected;

private:
    bool OnPress(QGraphicsSceneMouseEvent* event);
    bool OnLeftPress(QGraphicsItem* item, QGraphicsSceneMouseEvent* event);
    bool OnRightPress(QGraphicsItem* item, const QPointF& scene_point);
    bool OnRelease(QGraphicsSceneMouseEvent* event);
    void StartDrag(QNEPort* port, const QPointF& scene_point);
    // Whether the back end already links the port's pad.
    bool IsPadConnected(const QNEPort* port) const;
    // Whether a widget embedded in the node lies at the point.
    bool IsOverEmbeddedWidget(const QGraphicsItem* node, const QPointF& scene_point) const;
    static bool CanLink(const QNEPort* start, const QNEPort* target);

    QGraphicsScene* scene_ = nullptr;
    QNEConnection* dragged_ = nullptr;
    boost::shared_ptr<ControlAndStatus> hub_;
};
