// Embeds a node's settings panel in the scene. Presses the panel does not use go to
// the node, so dragging on an empty part of the panel moves the node, while presses on
// a control operate the control. The node owns the proxy; the proxy owns the panel.
#pragma once

#include <QGraphicsProxyWidget>

class GraphicsWidgetProxyCustom : public QGraphicsProxyWidget {
public:
    explicit GraphicsWidgetProxyCustom(QGraphicsItem* parent);

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent* event) override;

private:
    bool widget_took_press_ = false;
};
