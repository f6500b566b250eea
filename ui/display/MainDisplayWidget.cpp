#include "ui/display/MainDisplayWidget.h"

#include "core/ControlAndStatus.h"
#include "core/SharedGUI.h"

#include <QApplication>
#include <QPainter>
#include <QRegion>

#include <algorithm>

MainDisplayWidget::MainDisplayWidget(boost::shared_ptr<ControlAndStatus> hub,
                                     boost::shared_ptr<MainDisplayControls> controls, QWidget* parent)
    : QWidget(parent, Qt::Dialog), hub_(std::move(hub)), controls_(std::move(controls))
{
    controls_->window_exists.Set(true);
    connect(&poll_timer_, SIGNAL(timeout()), this, SLOT(CheckForImages()));
    poll_timer_.start(3);
    if (hub_) {
        connect(hub_->GetSharedGUI(), SIGNAL(Close()), this, SLOT(close()));
    }
    setStyleSheet("background : black;");
    // The paint covers every pixel: black around the picture.
    setAttribute(Qt::WA_OpaquePaintEvent);
    const QByteArray geometry = controls_->GetWindowGeometry();
    if (!geometry.isEmpty()) {
        restoreGeometry(geometry);
    }
}

MainDisplayWidget::~MainDisplayWidget()
{
    StoreGeometry();
    controls_->window_exists.Set(false);
}

MainDisplayWidget* MainDisplayWidget::Show(const boost::shared_ptr<ControlAndStatus>& hub,
                                           const boost::shared_ptr<MainDisplayControls>& controls)
{
    MainDisplayWidget* window = Find(controls.get());
    if (!window) {
        window = new MainDisplayWidget(hub, controls, nullptr);
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

MainDisplayWidget* MainDisplayWidget::Find(const MainDisplayControls* controls)
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* window = qobject_cast<MainDisplayWidget*>(widget);
        if (window && window->controls_.get() == controls) {
            return window;
        }
    }
    return nullptr;
}

QSize MainDisplayWidget::DisplaySize(QSize window, double aspect)
{
    QSize size;
    if (static_cast<double>(window.width()) / window.height() > aspect) {
        size = QSize(static_cast<int>(window.height() * aspect), window.height());
    } else {
        size = QSize(window.width(), static_cast<int>(window.width() / aspect));
    }
    return size.expandedTo(QSize(1, 1));
}

void MainDisplayWidget::CheckForImages()
{
    if (controls_->HasImage()) {
        current_image_ = controls_->PopImage();
        DrawImage();
    }
    if (!controls_->element_alive.Get()) {
        poll_timer_.stop();
        deleteLater();
    }
}

void MainDisplayWidget::DrawImage()
{
    if (width() < 1 || height() < 1) {
        return;
    }
    const QSize display = DisplaySize(size(), controls_->GetAspectRatio());
    if (current_image_.IsValid()) {
        update();
    }
    controls_->SetDisplaySize(display.width(), display.height());
}

void MainDisplayWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QRegion border(rect());
    if (current_image_.IsValid() && !current_image_.data->isNull()) {
        // Made at the picture size and in the painted format off this thread: a copy.
        const QImage& image = *current_image_.data;
        const int left = static_cast<int>((width() - image.width()) * 0.5);
        const int top = static_cast<int>((height() - image.height()) * 0.5);
        painter.drawImage(left, top, image);
        border -= QRect(QPoint(left, top), image.size());
    }
    for (const QRect& part : border) {
        painter.fillRect(part, Qt::black);
    }
}

void MainDisplayWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    DrawImage();
    StoreGeometry();
}

void MainDisplayWidget::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    StoreGeometry();
}

void MainDisplayWidget::hideEvent(QHideEvent* event)
{
    StoreGeometry();
    QWidget::hideEvent(event);
}

void MainDisplayWidget::StoreGeometry()
{
    controls_->SetWindowGeometry(saveGeometry());
}
