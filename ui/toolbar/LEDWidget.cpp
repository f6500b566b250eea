#include "ui/toolbar/LEDWidget.h"

#include <QPainter>

LEDWidget::LEDWidget(QWidget* parent)
    : QWidget(parent), on_image_(LoadScaled(":/images/green_led_on.png", kImageHeight)),
      off_image_(LoadScaled(":/images/red_led_on.png", kImageHeight))
{
    if (!on_image_.isNull()) {
        setMinimumSize(on_image_.size());
        setMaximumSize(on_image_.size());
    }
}

QImage LEDWidget::LoadScaled(const QString& path, int height)
{
    const QImage image(path);
    return image.isNull() ? image : image.scaledToHeight(height, Qt::SmoothTransformation);
}

void LEDWidget::SetOn(bool on)
{
    on_ = on;
    repaint();
}

QSize LEDWidget::sizeHint() const
{
    return QSize(50, 50);
}

void LEDWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, on_ ? on_image_ : off_image_);
}
