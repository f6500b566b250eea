#include "ui/editor/PreviewElementNode.h"

#include "engine/ElementBase.h"
#include "ui/editor/PreviewGraphicsItem.h"
#include "ui/editor/PreviewProxy.h"

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

PreviewElementNode::PreviewElementNode(boost::shared_ptr<ControlAndStatus> hub, std::string element_id,
                                       QGraphicsItem* parent)
    : ElementNodeBase(std::move(hub), std::move(element_id), parent)
{
}

PreviewElementNode::~PreviewElementNode()
{
    proxy_.reset();
    delete item_;
}

QRectF PreviewElementNode::MakeContents()
{
    proxy_.reset();
    delete item_;
    item_ = new PreviewGraphicsItem(Hub(), this);
    item_->setFlag(QGraphicsItem::ItemIsMovable);
    item_->setFlag(QGraphicsItem::ItemIsSelectable);
    proxy_ = boost::make_shared<PreviewProxy>(Hub());
    proxy_->SetTarget(item_);
    proxy_->SetPipe(FindImagePipe());
    item_->SetWidth(Width());
    item_->setPos(0, 0);
    return QRectF();
}

boost::shared_ptr<InternalPipe<QImage>> PreviewElementNode::FindImagePipe()
{
    for (const boost::shared_ptr<PipeBase_>& pipe : GetElement()->GetDisplayPipes()) {
        if (pipe->GetName() != "_image_pipe")
            continue;
        if (auto images = boost::dynamic_pointer_cast<InternalPipe<QImage>>(pipe))
            return images;
    }
    return boost::shared_ptr<InternalPipe<QImage>>();
}
