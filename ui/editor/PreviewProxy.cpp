#include "ui/editor/PreviewProxy.h"

#include "ui/editor/PreviewGraphicsItem.h"

#include <QTimer>

PreviewProxy::PreviewProxy(boost::shared_ptr<ControlAndStatus> hub, QObject* parent)
    : QObject(parent), timer_(new QTimer(this)), hub_(std::move(hub))
{
    connect(timer_, SIGNAL(timeout()), this, SLOT(UpdatePreview()));
    timer_->start(10);
}

void PreviewProxy::UpdatePreview()
{
    if (!target_ || !pipe_)
        return;
    const PassableItem<QImage> image = pipe_->Pop();
    if (image.IsValid())
        target_->SetImage(image);
}
