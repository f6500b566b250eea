#include "ui/settings/panels/AutoGuiBuilder.h"

#include "core/ControlBaseClass.h"
#include "ui/controls/StyledBackground.h"
#include "ui/settings/panels/PipeWidgetContainer.h"
#include "ui/settings/panels/SettingWIdgetContainer.h"
#include "ui/settings/panels/SignalWidgetContainer.h"

#include <QVBoxLayout>

AutoGuiBuilder::AutoGuiBuilder(boost::shared_ptr<ControlAndStatus> hub, QWidget* parent,
                               boost::shared_ptr<ControlBaseClass> control)
    : QWidget(parent), hub_(hub), layout_(new QVBoxLayout(this)), control_(control)
{
    if (!control_)
        return;
    settings_ = new SettingWIdgetContainer(this, control_, hub_);
    layout_->addWidget(settings_);
    layout_->addWidget(new SignalWidgetContainer(this, control_, hub_));
    layout_->addWidget(new PipeWidgetContainer(this, control_, hub_));
    connect(settings_, SIGNAL(UpdateSettingsSignal()), this, SLOT(UpdateSettingsInBackend()));
}

void AutoGuiBuilder::UpdateSettingsInBackend()
{
    control_->settings_changed_signal();
}

void AutoGuiBuilder::paintEvent(QPaintEvent*)
{
    PaintStyledBackground(this);
}
