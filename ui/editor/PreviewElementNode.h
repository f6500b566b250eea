// An element node that shows the element's "_image_pipe" preview images instead of a
// settings panel; made for the type name "Preview" only. The node owns the preview
// item (child) and the proxy that feeds it.
#pragma once

#include "core/InternalPipe.h"
#include "ui/editor/ElementNodeBase.h"

#include <QImage>

class PreviewGraphicsItem;
class PreviewProxy;

class PreviewElementNode : public ElementNodeBase {
public:
    PreviewElementNode(boost::shared_ptr<ControlAndStatus> hub, std::string element_id,
                       QGraphicsItem* parent = nullptr);
    // The proxy stops feeding before the item goes.
    ~PreviewElementNode() override;

protected:
    QRectF MakeContents() override;

private:
    boost::shared_ptr<InternalPipe<QImage>> FindImagePipe();

    boost::shared_ptr<PreviewProxy> proxy_;
    PreviewGraphicsItem* item_ = nullptr;
};
