#include "ui/settings/IntSettingItem.h"
#include "ui/settings/SliderRowLayout.h"

#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>

#include <algorithm>

IntSettingItem::IntSettingItem(int* variable, const QString& label, int minimum, int maximum, QWidget* parent,
                               bool emit_update)
    : GUISettingItem(parent), variable_(variable), emit_update_(emit_update), label_(new QLabel(label, this)),
      slider_(new QSlider(Qt::Horizontal, this)), spin_box_(new QSpinBox(this))
{
    LaySliderRow(this, label_, slider_, spin_box_);
    SetExpandingRow();
    slider_->setRange(minimum, std::max(minimum, maximum));
    spin_box_->setRange(minimum, std::max(minimum, maximum));
    Show(*variable_);

    connect(slider_, SIGNAL(valueChanged(int)), this, SLOT(SetValue(int)));
    connect(spin_box_, SIGNAL(valueChanged(int)), this, SLOT(SetValue(int)));
}

void IntSettingItem::SetValue(int value)
{
    *variable_ = value;
    Show(value);
    emit ValueChanged();
    if (emit_update_)
        emit UpdateSettingsSignal();
}

void IntSettingItem::Show(int value)
{
    const QSignalBlocker slider_blocker(slider_);
    const QSignalBlocker spin_box_blocker(spin_box_);
    slider_->setValue(value);
    spin_box_->setValue(value);
}
