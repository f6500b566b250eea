#include "ui/editor/StandardElementNode.h"

#include "ui/display/PreviewWidget.h"
#include "ui/editor/GraphicsWidgetProxyCustom.h"
#include "ui/editor/PanelPreviewItem.h"
#include "ui/frame/StyleSheet.h"
#include "ui/settings/panels/NodeGUIBuilder.h"

#include <QScrollArea>
#include <QWidget>

#include <algorithm>

namespace {

constexpr double kMaxPanelHeight = 1000.0;

}  // namespace

StandardElementNode::StandardElementNode(boost::shared_ptr<ControlAndStatus> hub, std::string element_id,
                                         QGraphicsItem* parent)
    : ElementNodeBase(std::move(hub), std::move(element_id), parent)
{
}

StandardElementNode::~StandardElementNode()
{
    delete proxy_;
}

QRectF StandardElementNode::MakeContents()
{
    // Deleted at once: a panel left for later could still run its timers on an element
    // that has gone.
    delete proxy_;
    panel_ = new NodeGUIBuilder(Hub(), GetElementId(), nullptr);
    proxy_ = new GraphicsWidgetProxyCustom(this);
    proxy_->setWidget(panel_);
    proxy_->setWindowFrameMargins(0, 0, 0, 0);
    proxy_->setContentsMargins(0, 0, 0, 0);
    proxy_->setMinimumWidth(Width());
    proxy_->setCacheMode(QGraphicsItem::DeviceCoordinateCache);
    ApplyStyleSheet(panel_);
    // Live pictures are drawn by items of their own: a new frame leaves the cached panel as it is.
    for (PreviewWidget* preview : panel_->findChildren<PreviewWidget*>())
        new PanelPreviewItem(preview, panel_, proxy_);
    return QRectF(0, 0, Width(), proxy_->size().height() + 50.0);
}

QRectF StandardElementNode::ContentRect()
{
    if (!proxy_)
        return QRectF();
    const double height = ContentsHeight();
    proxy_->setMinimumHeight(height);
    proxy_->setMaximumHeight(height);
    proxy_->resize(Width(), height);
    return QRectF(0, 0, Width(), height);
}

double StandardElementNode::ContentsHeight() const
{
    const auto* scroll = panel_->findChild<QScrollArea*>();
    const QWidget* contents = scroll && scroll->widget() ? scroll->widget() : panel_;
    return std::min<double>(contents->sizeHint().height(), kMaxPanelHeight);
}
