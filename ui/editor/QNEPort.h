// The round dot of one pad on an element node, with its label and the connection
// lines attached to it. The node owns its ports (child items); a port owns the
// lines attached to it and deletes them when it goes.
#pragma once

#include <QGraphicsPathItem>
#include <QString>
#include <QVector>

#include <string>

class ElementNodeBase;
class QNEConnection;
class QGraphicsTextItem;

class QNEPort : public QGraphicsPathItem {
public:
    enum { Type = QGraphicsItem::UserType + 1 };

    // The label takes the scene's font, so the parent should already be in a scene.
    explicit QNEPort(QGraphicsItem* parent);
    // Deletes every attached line; each fires its disconnect unless suppressed.
    ~QNEPort() override;
    QNEPort(const QNEPort&) = delete;
    QNEPort& operator=(const QNEPort&) = delete;

    void SetName(const QString& name);
    const QString& Name() const { return name_; }
    // Picks the colours and the tool tip.
    void SetTypeName(const std::string& type_name);
    std::string TypeName() const { return type_name_.toStdString(); }
    void SetIsOutput(bool output);
    bool IsOutput() const { return is_output_; }
    void SetNode(ElementNodeBase* node) { node_ = node; }
    ElementNodeBase* GetNode() const { return node_; }
    int Radius() const { return radius_; }
    QVector<QNEConnection*>& Connections() { return connections_; }
    // Whether one of this port's lines ends at the other port.
    bool IsConnected(const QNEPort* other) const;
    // Lines deleted with the port then tell nobody (bulk removal by the editor).
    void SetSuppressDisconnect(bool suppress) { suppress_disconnect_ = suppress; }

    int type() const override { return Type; }

protected:
    QVariant itemChange(GraphicsItemChange change, const QVariant& value) override;

private:
    bool suppress_disconnect_ = false;
    QString type_name_;
    ElementNodeBase* node_ = nullptr;
    QString name_;
    bool is_output_ = false;
    QGraphicsTextItem* label_ = nullptr;
    int radius_ = 10;
    int margin_ = 3;
    QVector<QNEConnection*> connections_;
};
