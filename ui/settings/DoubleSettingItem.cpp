#include "ui/settings/DoubleSettingItem.h"
#include "ui/settings/SliderRowLayout.h"

#include <QDoubleSpinBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>

#include <algorithm>
#include <cmath>

DoubleSettingItem::DoubleSettingItem(double* variable, const QString& label, double minimum, double maximum,
                                     QWidget* parent, bool emit_update)
    : GUISettingItem(parent), variable_(variable), scale_((std::max(minimum, maximum) - minimum) / kSteps),
      offset_(minimum), emit_update_(emit_update), label_(new QLabel(label, this)),
      slider_(new QSlider(Qt::Horizontal, this)), spin_box_(new QDoubleSpinBox(this))
{
    LaySliderRow(this, label_, slider_, spin_box_);
    SetExpandingRow();
    slider_->setRange(0, kSteps);
    spin_box_->setDecimals(3);
    spin_box_->setRange(minimum, std::max(minimum, maximum));
    spin_box_->setValue(*variable_);
    ShowOnSlider(*variable_);

    connect(slider_, SIGNAL(valueChanged(int)), this, SLOT(SetValueFromSlider(int)));
    connect(spin_box_, SIGNAL(valueChanged(double)), this, SLOT(SetValueFromSpinBox(double)));
}

void DoubleSettingItem::SetValueFromSlider(int value)
{
    *variable_ = value * scale_ + offset_;
    const QSignalBlocker blocker(spin_box_);
    spin_box_->setValue(*variable_);
    Announce();
}

void DoubleSettingItem::SetValueFromSpinBox(double value)
{
    *variable_ = value;
    ShowOnSlider(value);
    Announce();
}

void DoubleSettingItem::ShowOnSlider(double value)
{
    // An empty range has no scale: the slider stays at its start.
    const double units = scale_ > 0.0 ? (value - offset_) / scale_ : 0.0;
    const QSignalBlocker blocker(slider_);
    slider_->setValue(static_cast<int>(std::lround(std::clamp(units, 0.0, double(kSteps)))));
}

void DoubleSettingItem::Announce()
{
    emit ValueChanged();
    if (emit_update_)
        emit UpdateSettingsSignal();
}
