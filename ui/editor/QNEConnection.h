// The curved line between two ports in the node editor. It has no parent item; the
// ports it is attached to own it (a port deletes its lines), and while it is being
// dragged the scene's event filter owns it. Deleting a line with two ports of opposite
// directions announces the link as (output, input) unless suppressed.
#pragma once

#include <QGraphicsPathItem>
#include <QPointF>

#include <boost/signals2/signal.hpp>

class QNEPort;

class QNEConnection : public QGraphicsPathItem {
public:
    enum { Type = QGraphicsItem::UserType + 2 };
    using PortPairSignal = boost::signals2::signal<void(QNEPort* output, QNEPort* input)>;

    explicit QNEConnection(QGraphicsItem* parent = nullptr);
    ~QNEConnection() override;
    QNEConnection(const QNEConnection&) = delete;
    QNEConnection& operator=(const QNEConnection&) = delete;

    void SetPort1(QNEPort* port);
    // Fires Connected (output, input) when the two ports differ in direction.
    void SetPort2(QNEPort* port);
    void SetPos1(const QPointF& point) { start_ = point; }
    void SetPos2(const QPointF& point) { end_ = point; }
    QNEPort* Port1() const { return port1_; }
    QNEPort* Port2() const { return port2_; }
    // Moves the ends that have a port onto it; the path is not rebuilt.
    void UpdatePosFromPorts();
    void UpdatePath();
    void SetSuppressDisconnect(bool suppress) { suppress_disconnect_ = suppress; }

    int type() const override { return Type; }

    PortPairSignal Connected;
    PortPairSignal Disconnected;

private:
    // (output, input) of the two ports, or nulls when they are not one of each.
    std::pair<QNEPort*, QNEPort*> OutputThenInput() const;

    bool suppress_disconnect_ = false;
    QPointF start_;
    QPointF end_;
    QNEPort* port1_ = nullptr;
    QNEPort* port2_ = nullptr;
};
