#include "ui/panels/DisplaySettings.h"

#include "core/ControlAndStatus.h"
#include "core/SharedGUI.h"
#include "ui/controls/StyledBackground.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>

DisplaySettings::DisplaySettings(boost::shared_ptr<ControlAndStatus> hub, QWidget* parent)
    : QWidget(parent), layout_(new QHBoxLayout(this)),
      fixed_aspect_ratio_(new QCheckBox("Fixed Aspect Ratio", this)),
      fixed_image_size_(new QCheckBox("Fixed image size", this)), view_(new QComboBox(this)),
      shared_gui_(hub->GetSharedControl<SharedGUI>("")), hub_(std::move(hub))
{
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(5);
    view_->addItems({"Select View", "All", "Top", "Bottom", "Right", "Left", "Top Left", "Top Right",
                     "Bottom Left", "Bottom Right"});
    for (QCheckBox* box : {fixed_aspect_ratio_, fixed_image_size_}) {
        box->setChecked(false);
        box->setFocusPolicy(Qt::NoFocus);
    }
    layout_->addWidget(fixed_aspect_ratio_);
    layout_->addWidget(fixed_image_size_);
    layout_->addWidget(view_);
}

void DisplaySettings::paintEvent(QPaintEvent*)
{
    PaintStyledBackground(this);
}
