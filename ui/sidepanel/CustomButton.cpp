#include "ui/sidepanel/CustomButton.h"

#include <QLinearGradient>
#include <QPainter>

CustomButton::CustomButton(const QString& name, const QString& text, QWidget* parent)
    : QAbstractButton(parent), name_(name), text_(text)
{
    connect(this, SIGNAL(clicked()), this, SLOT(EmitButtonPressed()));
    connect(this, SIGNAL(released()), this, SLOT(ButtonReleased()));
    connect(this, SIGNAL(pressed()), this, SLOT(ButtonPressed()));
    setFixedSize(kWidth, kHeight);
    setObjectName("CustomButton");
}

void CustomButton::SetHighlighted(bool highlighted)
{
    highlighted_ = highlighted;
    update();
}

void CustomButton::EmitButtonPressed()
{
    emit ButtonPressed(name_);
}

void CustomButton::ButtonReleased()
{
    pressed_ = false;
}

void CustomButton::ButtonPressed()
{
    pressed_ = true;
}

void CustomButton::enterEvent(QEvent*)
{
    hovered_ = true;
    update();
}

void CustomButton::leaveEvent(QEvent*)
{
    hovered_ = false;
    update();
}

void CustomButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (highlighted_) {
        painter.fillRect(rect(), QColor(kHighlightColour));
    } else {
        QLinearGradient gradient(0, 0, 0, 100);
        gradient.setColorAt(0.0, hovered_ ? QColor(40, 40, 40) : QColor(100, 100, 100));
        gradient.setColorAt(1.0, Qt::black);
        painter.fillRect(rect(), gradient);
    }
    painter.drawText(rect(), Qt::AlignHCenter | Qt::AlignVCenter, text_);
}
