#include "ui/sidepanel/GlobalSettingsWidget.h"

#include "core/ControlAndStatus.h"
#include "core/FrameRateSettings.h"
#include "core/PreviewSettings.h"
#include "ui/controls/StyledBackground.h"
#include "ui/settings/panels/AutoGuiBuilder.h"

#include <QSpacerItem>
#include <QVBoxLayout>

GlobalSettingsWidget::GlobalSettingsWidget(boost::shared_ptr<ControlAndStatus> hub, QWidget* parent)
    : QWidget(parent), hub_(hub)
{
    MakeWidgets();
}

void GlobalSettingsWidget::MakeWidgets()
{
    layout_ = new QVBoxLayout(this);
    frame_rate_panel_ = new AutoGuiBuilder(hub_, this, hub_->GetSharedControl<FrameRateSettings>(""));
    preview_panel_ = new AutoGuiBuilder(hub_, this, hub_->GetSharedControl<PreviewSettings>(""));
    layout_->addWidget(preview_panel_);
    layout_->addWidget(frame_rate_panel_);
    layout_->addItem(new QSpacerItem(0, 0, QSizePolicy::Minimum, QSizePolicy::Expanding));
}

void GlobalSettingsWidget::paintEvent(QPaintEvent*)
{
    PaintStyledBackground(this);
}
