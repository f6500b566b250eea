#include "ui/controls/BetterSlider.h"
#include "ui/controls/IntConversions.h"

#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionSlider>

#include <algorithm>
#include <cmath>

BetterSlider::BetterSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent)
{
    connect(this, SIGNAL(valueChanged(int)), this, SLOT(EmitValue(int)));
    setRange(int_minimum_, int_maximum_);
}

void BetterSlider::SetDoubleMode(bool on)
{
    double_mode_ = on;
    ApplyRange();
}

void BetterSlider::SetDoubleRange(double minimum, double maximum)
{
    double_minimum_ = minimum;
    double_maximum_ = maximum;
    if (!double_mode_) {
        int_minimum_ = TruncateToInt(minimum);
        int_maximum_ = TruncateToInt(maximum);
    }
    ApplyRange();
}

void BetterSlider::ApplyRange()
{
    if (!double_mode_) {
        setRange(int_minimum_, int_maximum_);
        return;
    }
    step_ = (double_maximum_ - double_minimum_) / resolution_;
    setRange(0, resolution_);
}

void BetterSlider::SetDoubleValue(double value)
{
    // A zero, infinite or NaN step (empty or unbounded range) has no position to offer.
    const double position = (value - double_minimum_) / step_;
    if (!std::isfinite(position)) {
        setValue(minimum());
        return;
    }
    setValue(std::clamp(TruncateToInt(position), minimum(), maximum()));
}

void BetterSlider::EmitValue(int value)
{
    if (double_mode_)
        emit DoubleChanged(value * step_ + double_minimum_);
    else
        emit IntChanged(value);
}

int BetterSlider::PositionFromPoint(const QPoint& point) const
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    // The style's own mapping works in unsigned arithmetic (no overflow on long
    // ranges) and gives the minimum for a zero span.
    if (orientation() == Qt::Horizontal)
        return QStyle::sliderValueFromPosition(minimum(), maximum(), point.x(), width() - 1,
                                               option.upsideDown);
    return QStyle::sliderValueFromPosition(minimum(), maximum(), point.y(), height() - 1, option.upsideDown);
}

void BetterSlider::mousePressEvent(QMouseEvent* event)
{
    if (jump_to_click_ && event->button() == Qt::LeftButton) {
        pressed_ = true;
        setValue(PositionFromPoint(event->pos()));
        event->accept();
    }
    // With the handle now under the cursor the normal handling starts a drag.
    QSlider::mousePressEvent(event);
}

void BetterSlider::mouseReleaseEvent(QMouseEvent* event)
{
    pressed_ = false;
    QSlider::mouseReleaseEvent(event);
}
