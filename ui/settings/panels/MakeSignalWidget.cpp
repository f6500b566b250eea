#include "ui/settings/panels/MakeSignalWidget.h"

#include "core/Utilities.h"
#include "ui/settings/panels/SignalCallingWidget.h"

#include <QString>

SignalCallingWidget* MakeSignalWidget(const SignalContainer::NamedSignal& signal,
                                      boost::shared_ptr<ControlAndStatus>, QWidget* parent)
{
    const QString label = QString::fromStdString(MakeLabelFromName(signal.second));
    return new SignalCallingWidget(signal.first, label, parent);
}
