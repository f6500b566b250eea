#include "ui/toolbar/BoolIndicator.h"

#include "ui/controls/StyledBackground.h"
#include "ui/toolbar/LEDWidget.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>

BoolIndicator::BoolIndicator(ThreadSafeVariable<bool>* variable, QWidget* parent)
    : QWidget(parent), variable_(variable), timer_(new QTimer(this)), layout_(new QHBoxLayout(this)),
      led_(new LEDWidget(this)), label_(new QLabel(this))
{
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(5);
    layout_->addWidget(led_);
    layout_->addWidget(label_);
    connect(timer_, SIGNAL(timeout()), this, SLOT(UpdateOnTimer()));
    timer_->start(40);
}

void BoolIndicator::SetState(bool state)
{
    last_state_ = state;
    led_->SetOn(state);
}

void BoolIndicator::SetLabel(const QString& text)
{
    label_->setText(text);
}

void BoolIndicator::UpdateOnTimer()
{
    if (variable_ == nullptr)
        return;
    const bool state = variable_->Get();
    if (state != last_state_)
        SetState(state);
}

void BoolIndicator::paintEvent(QPaintEvent*)
{
    PaintStyledBackground(this);
}
