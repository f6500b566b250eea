// The graphics item of one element of the commander's element table: title area, one
// port per pad (inputs left, outputs right) and the contents below, which each kind
// builds. The scene owns the node; the node owns its ports, texts and contents (child
// items) and keeps the element alive while it shows it. It mirrors its position into
// the element's position settings and announces its own deletion with the element id.
#pragma once

#include "control/ElementDescription.h"

#include <QGraphicsPathItem>
#include <QVector>

#include <boost/shared_ptr.hpp>
#include <boost/signals2/signal.hpp>

#include <string>
#include <vector>

class ControlAndStatus;
class ElementBase;
class QGraphicsTextItem;
class QNEPort;

class ElementNodeBase : public QGraphicsPathItem {
public:
    enum { Type = QGraphicsItem::UserType + 3 };

    ElementNodeBase(boost::shared_ptr<ControlAndStatus> hub, std::string element_id,
                    QGraphicsItem* parent = nullptr);
    // Deletes the ports (their lines announce their disconnects unless removing), then
    // fires NodeDestroyed unless removing.
    ~ElementNodeBase() override;
    ElementNodeBase(const ElementNodeBase&) = delete;
    ElementNodeBase& operator=(const ElementNodeBase&) = delete;

    // Texts, ports, layout and contents; the node must already be in a scene.
    void Build();
    // Fetched from the commander on first use and kept; throws for an unknown id.
    boost::shared_ptr<ElementBase> GetElement();
    const std::string& GetElementId() const { return element_id_; }
    // The element kept by GetElement; null before the first fetch.
    const boost::shared_ptr<ElementBase>& ShownElement() const { return element_; }
    QVector<QNEPort*> GetPorts() const;
    const std::vector<QNEPort*>& SinkPorts() const { return sink_ports_; }
    const std::vector<QNEPort*>& SourcePorts() const { return source_ports_; }
    // Rebuilds the contents when the element asked for it; follows their size.
    void RefreshNode();
    void BringToFront();
    void UpdateOutline();
    // Set by the editor's bulk removal: deleting the node then touches no back end.
    void SetRemoving(bool removing) { removing_ = removing; }
    // Whether the node can fold its contents away; no kind can, and nothing asks.
    virtual bool IsCollapsible() const { return false; }

    int type() const override { return Type; }
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

    boost::signals2::signal<void(std::string)> NodeDestroyed;

protected:
    QVariant itemChange(GraphicsItemChange change, const QVariant& value) override;
    // Builds or rebuilds the contents below y = 0 and returns their rectangle.
    virtual QRectF MakeContents() = 0;

    // The contents' current rectangle, without rebuilding.
    virtual QRectF ContentRect();

    double Width() const { return width_; }
    const boost::shared_ptr<ControlAndStatus>& Hub() const { return hub_; }

private:
    void MakeTitleItems();
    void MakePorts();
    void Layout();
    void AddSinkPort(const std::string& pad_name);
    void AddSourcePort(const std::string& pad_name);
    QNEPort* AddPort(const std::string& pad_name, bool output);
    void SetOutline(const QRectF& contents);
    void StorePosition();

    std::string element_id_;
    bool removing_ = false;
    boost::shared_ptr<ControlAndStatus> hub_;
    double width_ = 400.0;
    double top_ = 0.0;
    boost::shared_ptr<ElementBase> element_;
    ElementDescription description_;
    QGraphicsTextItem* title_ = nullptr;
    QGraphicsTextItem* subtitle_ = nullptr;
    QGraphicsTextItem* description_item_ = nullptr;
    std::vector<QNEPort*> source_ports_;
    std::vector<QNEPort*> sink_ports_;
};
