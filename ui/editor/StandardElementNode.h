// The ordinary element node: below the title area it embeds the element's settings
// panel through a proxy. The node owns the proxy, which owns the panel.
#pragma once

#include "ui/editor/ElementNodeBase.h"

class GraphicsWidgetProxyCustom;
class NodeGUIBuilder;

class StandardElementNode : public ElementNodeBase {
public:
    StandardElementNode(boost::shared_ptr<ControlAndStatus> hub, std::string element_id,
                        QGraphicsItem* parent = nullptr);
    // The panel goes before the ports, so no panel timer outlives the node's element.
    ~StandardElementNode() override;

protected:
    QRectF MakeContents() override;
    QRectF ContentRect() override;

private:
    // The panel's wanted height, capped so a node never grows past 1000.
    double ContentsHeight() const;

    GraphicsWidgetProxyCustom* proxy_ = nullptr;
    NodeGUIBuilder* panel_ = nullptr;
};
