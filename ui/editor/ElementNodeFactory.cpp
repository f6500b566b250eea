#include "ui/editor/ElementNodeFactory.h"

#include "control/PowerCommanderTop.h"
#include "core/ControlAndStatus.h"
#include "core/CustomException.h"
#include "engine/ElementBase.h"
#include "ui/editor/PreviewElementNode.h"
#include "ui/editor/StandardElementNode.h"

#include <QGraphicsScene>

ElementNodeFactory::ElementNodeFactory(boost::shared_ptr<ControlAndStatus> hub, QGraphicsScene* scene)
    : hub_(std::move(hub)), scene_(scene)
{
}

ElementNodeBase* ElementNodeFactory::MakeNode(const std::string& element_id)
{
    PowerCommanderTop* commander = hub_->GetCommander();
    if (!commander)
        throw CustomException("No commander for element : " + element_id);
    const boost::shared_ptr<ElementBase> element = commander->GetElement(element_id);
    const int x = element->position_x.Get();
    const int y = element->position_y.Get();
    ElementNodeBase* node = nullptr;
    if (element->GetType() == "Preview")
        node = new PreviewElementNode(hub_, element_id);
    else
        node = new StandardElementNode(hub_, element_id);
    // In the scene before building: ports and texts take the scene's font.
    scene_->addItem(node);
    node->setPos(x, y);
    try {
        node->Build();
    } catch (...) {
        node->SetRemoving(true);
        delete node;
        throw;
    }
    return node;
}
