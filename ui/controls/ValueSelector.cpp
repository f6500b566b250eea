#include "ui/controls/ValueSelector.h"
#include "ui/controls/BetterSlider.h"
#include "ui/controls/IntConversions.h"
#include "ui/controls/NumberSelector.h"
#include "ui/controls/StyledBackground.h"

#include <QSignalBlocker>
#include <QStackedLayout>

ValueSelector::ValueSelector(QWidget* parent)
    : QWidget(parent), stack_(new QStackedLayout(this)), slider_(new BetterSlider(this)),
      number_(new NumberSelector(this))
{
    stack_->addWidget(slider_);
    stack_->addWidget(number_);
    connect(slider_, SIGNAL(IntChanged(int)), this, SLOT(SliderChanged(int)));
    connect(number_, SIGNAL(ValueChanged(int)), this, SLOT(SliderChanged(int)));
    connect(slider_, SIGNAL(DoubleChanged(double)), this, SLOT(SliderChanged(double)));
    connect(number_, SIGNAL(ValueChanged(double)), this, SLOT(SliderChanged(double)));
    SetNumberMode(false);
}

void ValueSelector::SetIntMode(bool on)
{
    int_mode_ = on;
    const QSignalBlocker slider_blocker(slider_);
    const QSignalBlocker number_blocker(number_);
    number_->SetIntMode(on);
    slider_->SetDoubleMode(!on);
}

void ValueSelector::SetNumberMode(bool on)
{
    number_mode_ = on;
    stack_->setCurrentWidget(on ? static_cast<QWidget*>(number_) : slider_);
    number_->setEnabled(on);
    slider_->setEnabled(!on);
}

void ValueSelector::SetRange(double minimum, double maximum)
{
    const QSignalBlocker blocker(slider_);
    slider_->SetDoubleRange(minimum, maximum);
}

void ValueSelector::SetValue(double value)
{
    const QSignalBlocker slider_blocker(slider_);
    const QSignalBlocker number_blocker(number_);
    slider_->SetDoubleValue(value);
    number_->setValue(value);
}

void ValueSelector::SetValue(int value)
{
    const QSignalBlocker slider_blocker(slider_);
    const QSignalBlocker number_blocker(number_);
    slider_->setValue(value);
    number_->setValue(value);
}

int ValueSelector::Value() const
{
    if (number_mode_)
        return TruncateToInt(number_->RoundedValue());
    return slider_->value();
}

bool ValueSelector::IsDragging() const
{
    return slider_->IsPressed() || slider_->isSliderDown() || number_->IsDragging();
}

void ValueSelector::SliderChanged(double value)
{
    emit ValueChangedDouble(value);
}

void ValueSelector::SliderChanged(int value)
{
    emit ValueChangedInt(value);
}

void ValueSelector::paintEvent(QPaintEvent*)
{
    PaintStyledBackground(this);
}
