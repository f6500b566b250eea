#include "ui/settings/panels/PipeWidgetContainer.h"

#include "core/ControlBaseClass.h"
#include "core/LayoutUtilities.h"
#include "ui/display/PipeWidgetBase.h"
#include "ui/settings/panels/MakePipeWidget.h"

#include <QVBoxLayout>

PipeWidgetContainer::PipeWidgetContainer(QWidget* parent, boost::shared_ptr<ControlBaseClass> control,
                                         boost::shared_ptr<ControlAndStatus> hub)
    : QWidget(parent), hub_(hub), layout_(new QVBoxLayout(this))
{
    SetZeroMargins(layout_);
    for (const boost::shared_ptr<PipeBase_>& pipe : control->GetDisplayPipes()) {
        if (PipeWidgetBase* widget = MakePipeWidget(pipe, this, hub_))
            layout_->addWidget(widget);
    }
}
