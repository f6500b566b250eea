#include "ui/settings/ThreadIntSettingItem.h"
#include "ui/controls/BetterSlider.h"
#include "ui/settings/SliderRowLayout.h"
#include "ui/settings/SpinBoxDisplay.h"

#include <QLabel>
#include <QSpinBox>
#include <QTimer>

#include <algorithm>
#include <climits>

ThreadIntSettingItem::ThreadIntSettingItem(ThreadSafeVariable<int>* variable, const QString& label,
                                           int minimum, int maximum, QWidget* parent, bool emit_update,
                                           const QStringList& /*texts*/)
    : GUISettingItem(parent), variable_(variable), minimum_(minimum), maximum_(std::max(minimum, maximum)),
      emit_update_(emit_update), label_(new QLabel(label, this)), slider_(new BetterSlider(this)),
      spin_box_(new QSpinBox(this)), timer_(new QTimer(this))
{
    spin_box_->setMinimumWidth(75);
    LaySliderRow(this, label_, slider_, spin_box_);
    SetExpandingRow();

    slider_->setRange(minimum_, maximum_);
    if (maximum_ < 20) {
        slider_->SetJumpToClick(false);
        slider_->setPageStep(1);
    }
    Show(variable_->Get());

    connect(slider_, SIGNAL(valueChanged(int)), this, SLOT(SetValue(int)));
    connect(spin_box_, SIGNAL(valueChanged(int)), this, SLOT(SetValue(int)));
    connect(timer_, SIGNAL(timeout()), this, SLOT(UpdateFromVariable()));
    timer_->setInterval(25);
}

void ThreadIntSettingItem::SetUpdate(bool on)
{
    update_ = on;
    if (on)
        timer_->start();
    else
        timer_->stop();
}

void ThreadIntSettingItem::SetNoLimits(bool on)
{
    no_limits_ = on;
    slider_->setVisible(!on);
    slider_->setMinimumWidth(on ? 0 : 200);
    Show(variable_->Get());
}

int ThreadIntSettingItem::Low() const
{
    return no_limits_ ? INT_MIN : minimum_;
}

int ThreadIntSettingItem::High() const
{
    return no_limits_ ? INT_MAX : maximum_;
}

int ThreadIntSettingItem::Accepted(int value) const
{
    value = std::clamp(value, Low(), High());
    if (!odd_ || value % 2 != 0)
        return value;
    // Even values are below INT_MAX (which is odd), so value + 1 cannot overflow.
    if (value + 1 <= High())
        return value + 1;
    if (value - 1 >= Low())
        return value - 1;
    return value;  // a one-value range without an odd value
}

void ThreadIntSettingItem::Show(int value)
{
    ShowInSpinBox(spin_box_, Low(), High(), value);
    if (slider_->IsPressed() || slider_->isSliderDown())
        return;
    const QSignalBlocker blocker(slider_);
    slider_->setValue(value);
}

void ThreadIntSettingItem::SetValue(int value)
{
    const int stored = Accepted(value);
    variable_->Set(stored);
    Show(stored);
    emit ValueChanged();
    if (emit_update_)
        emit UpdateSettingsSignal();
}

void ThreadIntSettingItem::UpdateFromVariable()
{
    if (update_)
        Show(variable_->Get());
}
