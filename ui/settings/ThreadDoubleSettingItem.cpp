#include "ui/settings/ThreadDoubleSettingItem.h"
#include "ui/controls/ClickableLabel.h"
#include "ui/controls/ValueSelector.h"
#include "ui/settings/SliderRowLayout.h"
#include "ui/settings/SpinBoxDisplay.h"

#include <QDoubleSpinBox>
#include <QInputDialog>
#include <QTimer>

#include <algorithm>
#include <cfloat>

ThreadDoubleSettingItem::ThreadDoubleSettingItem(ThreadSafeVariable<double>* variable, const QString& label,
                                                 double minimum, double maximum, QWidget* parent,
                                                 bool emit_update, bool no_limits)
    : GUISettingItem(parent), variable_(variable), minimum_(minimum), maximum_(std::max(minimum, maximum)),
      emit_update_(emit_update), label_(new ClickableLabel(this)), selector_(new ValueSelector(this)),
      spin_box_(new QDoubleSpinBox(this)), timer_(new QTimer(this))
{
    label_->setText(label);
    spin_box_->setFixedWidth(100);
    spin_box_->setDecimals(3);
    LaySliderRow(this, label_, selector_, spin_box_);
    SetExpandingRow();

    // Every mode is in place before the first value is shown.
    selector_->SetIntMode(false);
    selector_->SetRange(minimum_, maximum_);
    SetNoLimits(no_limits);

    connect(selector_, SIGNAL(ValueChangedDouble(double)), this, SLOT(SetValueFromSlider(double)));
    connect(spin_box_, SIGNAL(valueChanged(double)), this, SLOT(SetValueFromSpinBox(double)));
    connect(timer_, SIGNAL(timeout()), this, SLOT(UpdateFromVariable()));
    connect(label_, SIGNAL(Clicked()), this, SLOT(ToggleMode()));
    timer_->setInterval(100);
    SetUpdate(true);
}

void ThreadDoubleSettingItem::SetUpdate(bool on)
{
    update_ = on;
    if (on)
        timer_->start();
    else
        timer_->stop();
}

void ThreadDoubleSettingItem::SetNoLimits(bool on)
{
    no_limits_ = on;
    selector_->SetNumberMode(on);
    const double value = variable_->Get();
    selector_->SetValue(value);
    ShowInSpinBox(value);
}

void ThreadDoubleSettingItem::ToggleMode()
{
    SetNoLimits(!no_limits_);
}

void ThreadDoubleSettingItem::ShowInSpinBox(double value)
{
    if (no_limits_)
        ::ShowInSpinBox(spin_box_, -DBL_MAX, DBL_MAX, value);
    else
        ::ShowInSpinBox(spin_box_, minimum_, maximum_, value);
}

double ThreadDoubleSettingItem::Write(double value)
{
    if (!no_limits_)
        value = std::clamp(value, minimum_, maximum_);
    variable_->Set(value);
    return value;
}

void ThreadDoubleSettingItem::Announce()
{
    emit ValueChanged();
    if (emit_update_)
        emit UpdateSettingsSignal();
}

void ThreadDoubleSettingItem::SetValueFromSlider(double value)
{
    ShowInSpinBox(Write(value));
    Announce();
}

void ThreadDoubleSettingItem::SetValueFromSpinBox(double value)
{
    const double stored = Write(value);
    if (!selector_->IsDragging())
        selector_->SetValue(stored);
    if (stored != value)
        ShowInSpinBox(stored);
    Announce();
}

void ThreadDoubleSettingItem::UpdateFromVariable()
{
    if (!update_)
        return;
    const double value = variable_->Get();
    if (!selector_->IsDragging())
        selector_->SetValue(value);
    ShowInSpinBox(value);
}

void ThreadDoubleSettingItem::ShowInputDialogue()
{
    bool ok = false;
    const double value = QInputDialog::getDouble(this, tr("Enter Value"), label_->text(), variable_->Get(),
                                                 minimum_, maximum_, 4, &ok);
    if (!ok)
        return;
    const double stored = Write(value);
    if (!selector_->IsDragging())
        selector_->SetValue(stored);
    ShowInSpinBox(stored);
    Announce();
}
