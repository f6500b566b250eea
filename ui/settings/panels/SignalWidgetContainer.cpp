#include "ui/settings/panels/SignalWidgetContainer.h"

#include "core/ControlBaseClass.h"
#include "core/LayoutUtilities.h"
#include "ui/settings/panels/MakeSignalWidget.h"
#include "ui/settings/panels/SignalCallingWidget.h"

#include <QVBoxLayout>

SignalWidgetContainer::SignalWidgetContainer(QWidget* parent, boost::shared_ptr<ControlBaseClass> control,
                                             boost::shared_ptr<ControlAndStatus> hub)
    : QWidget(parent), hub_(hub), layout_(new QVBoxLayout(this))
{
    SetZeroMargins(layout_);
    for (const SignalContainer::NamedSignal& signal : control->signal_container.GetSignals())
        layout_->addWidget(MakeSignalWidget(signal, hub_, this));
}
