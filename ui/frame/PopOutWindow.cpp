#include "ui/frame/PopOutWindow.h"

#include "core/FILELog.h"
#include "core/LayoutUtilities.h"

#include <QCloseEvent>
#include <QVBoxLayout>

PopOutWindow::PopOutWindow(QWidget* widget, QWidget* top_bar, QWidget* parent)
    : QWidget(parent, Qt::Window), layout_(new QVBoxLayout(this)), widget_(widget), top_bar_(top_bar)
{
    setAttribute(Qt::WA_DeleteOnClose);
    SetZeroMargins(layout_);
    if (top_bar)
        layout_->addWidget(top_bar);
    layout_->addWidget(widget);
}

void PopOutWindow::closeEvent(QCloseEvent* event)
{
    FILE_LOG(logDEBUG) << "Closed";
    if (top_bar_) {
        QWidget* top_bar = top_bar_;
        top_bar_ = nullptr;
        layout_->removeWidget(top_bar);
        emit SendBackTopWidget(top_bar);
    }
    if (widget_) {
        QWidget* widget = widget_;
        widget_ = nullptr;
        layout_->removeWidget(widget);
        emit WindowClosed(widget);
    }
    QWidget::closeEvent(event);
}
