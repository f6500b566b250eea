// Makes the node for an element of the commander's table: a preview node for the type
// name "Preview", a standard node otherwise. The scene owns the nodes it makes.
#pragma once

#include <boost/shared_ptr.hpp>

#include <string>

class ControlAndStatus;
class ElementNodeBase;
class QGraphicsScene;

class ElementNodeFactory {
public:
    ElementNodeFactory(boost::shared_ptr<ControlAndStatus> hub, QGraphicsScene* scene);

    // In the scene, at the element's saved position, built. Throws for an unknown id or
    // a node that cannot be built; a half-built node is removed again.
    ElementNodeBase* MakeNode(const std::string& element_id);

private:
    boost::shared_ptr<ControlAndStatus> hub_;
    QGraphicsScene* scene_;
};
