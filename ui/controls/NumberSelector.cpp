#include "ui/controls/NumberSelector.h"
#include "ui/controls/IntConversions.h"
#include "ui/controls/StyledBackground.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>

#include <algorithm>
#include <cfloat>
#include <cmath>

NumberSelector::NumberSelector(QWidget* parent)
    : QWidget(parent), display_(new QLabel(this)), drag_timer_(new QTimer(this))
{
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(display_);
    drag_timer_->setInterval(10);
    connect(drag_timer_, SIGNAL(timeout()), this, SLOT(UpdateValue()));
    ShowLabel();
}

void NumberSelector::SetIntMode(bool on)
{
    int_mode_ = on;
    ShowLabel();
}

double NumberSelector::RoundedValue() const
{
    return RoundHalfUp(value_);
}

QString NumberSelector::Text() const
{
    return display_->text();
}

void NumberSelector::setValue(double value)
{
    value_ = value;
    Show();
}

double NumberSelector::Distance() const
{
    return press_position_.y() - cursor_position_.y();
}

void NumberSelector::UpdateValue()
{
    const double d = Distance();
    double factor = 0.0;
    if (d > dead_zone_)
        factor = (d - 10.0) * (d - 10.0) / 100000.0;
    else if (d < -dead_zone_)
        factor = -(d * d - 100.0) / 100000.0;
    if (factor == 0.0)
        return;
    const double base = std::fabs(value_ * 0.03) + 0.1;
    // Held finite: a long drag near the double range must not end in infinity.
    value_ = std::clamp(value_ + base * factor, -DBL_MAX, DBL_MAX);
    Show();
}

void NumberSelector::ShowLabel()
{
    if (int_mode_ || rounding_)
        display_->setText(QString::number(RoundHalfUp(value_), 'f', 0));
    else
        display_->setText(QString::number(value_, 'g', 6));
}

void NumberSelector::Show()
{
    ShowLabel();
    const double emitted = (int_mode_ || rounding_) ? RoundHalfUp(value_) : value_;
    if (has_emitted_ && emitted == last_emitted_)
        return;
    has_emitted_ = true;
    last_emitted_ = emitted;
    if (int_mode_)
        emit ValueChanged(RoundHalfUpToInt(value_));
    else
        emit ValueChanged(emitted);
}

void NumberSelector::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    dragging_ = true;
    value_at_press_ = value_;
    press_position_ = event->globalPos();
    cursor_position_ = press_position_;
}

void NumberSelector::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragging_)
        return;
    cursor_position_ = event->globalPos();
    if (std::fabs(Distance()) > dead_zone_) {
        if (!drag_timer_->isActive())
            drag_timer_->start();
    } else {
        drag_timer_->stop();
    }
    ShowLabel();
}

void NumberSelector::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    dragging_ = false;
    drag_timer_->stop();
}

void NumberSelector::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::RightButton) {
        QWidget::mouseDoubleClickEvent(event);
        return;
    }
    rounding_ = !rounding_;
    Show();
}

void NumberSelector::paintEvent(QPaintEvent*)
{
    PaintStyledBackground(this);
}
