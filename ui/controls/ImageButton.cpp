#include "ui/controls/ImageButton.h"

#include "core/FILELog.h"
#include "core/QtUtilities.h"
#include "core/Utilities.h"

#include <QMouseEvent>
#include <QPainter>

ImageButton::ImageButton(QWidget* parent) : QAbstractButton(parent)
{
    setMinimumSize(kImageHeight, kImageHeight);
}

QImage ImageButton::Load(const QString& path)
{
    QImage image(path);
    if (image.isNull()) {
        FILE_LOG(logWARNING) << "Could not load image " << path.toStdString();
        return image;
    }
    return image.scaledToHeight(kImageHeight, Qt::SmoothTransformation);
}

void ImageButton::SetImages(const std::string& path)
{
    const std::string base = RemoveExtension(path);
    const std::string extension = GetExtension(path);
    SetPressedImage(ToQString(base + "_pressed." + extension));
    SetMainImage(ToQString(base + "_main." + extension));
    SetHoveredImage(ToQString(base + "_hovered." + extension));
}

void ImageButton::SetMainImage(const QString& path)
{
    main_ = Load(path);
    if (main_.isNull()) {
        setFixedSize(kImageHeight, kImageHeight);
        setToolTip(tr("Missing image: %1").arg(path));
    } else {
        setFixedSize(main_.size());
        setToolTip(QString());
    }
    update();
}

void ImageButton::SetPressedImage(const QString& path)
{
    pressed_ = Load(path);
    update();
}

void ImageButton::SetHoveredImage(const QString& path)
{
    hovered_ = Load(path);
    update();
}

const QImage& ImageButton::CurrentImage() const
{
    // QAbstractButton is down only while the left button holds it inside the button.
    if (isDown() && !pressed_.isNull())
        return pressed_;
    if (hover_ && !hovered_.isNull())
        return hovered_;
    return main_;
}

void ImageButton::enterEvent(QEvent* event)
{
    hover_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void ImageButton::leaveEvent(QEvent* event)
{
    hover_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void ImageButton::mouseReleaseEvent(QMouseEvent* event)
{
    // A release after dragging off the button leaves it; the leave event may come later.
    hover_ = rect().contains(event->pos());
    update();
    QAbstractButton::mouseReleaseEvent(event);
}

void ImageButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QImage& image = CurrentImage();
    if (!image.isNull()) {
        painter.drawImage(0, 0, image);
        return;
    }
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
