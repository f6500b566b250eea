#include "ui/frame/PopOutButton.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

PopOutButton::PopOutButton(QWidget* parent) : QWidget(parent)
{
    setMinimumHeight(0);
    setMaximumHeight(kMaxHeight);
    // A squeezed frame must not squeeze the bar away.
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setToolTip("Click to pop out / back");
}

QSize PopOutButton::sizeHint() const
{
    return QSize(kMaxHeight, kMaxHeight);
}

void PopOutButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        pressed_ = true;
}

void PopOutButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !pressed_)
        return;
    pressed_ = false;
    emit clicked();
}

void PopOutButton::paintEvent(QPaintEvent*)
{
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0.0, QColor(100, 100, 100));
    gradient.setColorAt(1.0, QColor(0, 0, 150));
    QPainter painter(this);
    painter.fillRect(rect(), gradient);
}
