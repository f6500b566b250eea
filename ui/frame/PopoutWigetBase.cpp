#include "ui/frame/PopoutWigetBase.h"

#include "core/FILELog.h"
#include "core/LayoutUtilities.h"
#include "ui/frame/PopOutButton.h"
#include "ui/frame/PopOutWindow.h"

#include <QSpacerItem>
#include <QVBoxLayout>

PopoutWigetBase::PopoutWigetBase(QWidget* widget, QWidget* parent)
    : QWidget(parent), button_(new PopOutButton), layout_(new QVBoxLayout(this)),
      top_bar_layout_(new QVBoxLayout), top_bar_(new QWidget(this))
{
    SetZeroMargins(layout_);
    top_bar_->setObjectName("TopBar");
    top_bar_layout_->setContentsMargins(0, 0, 0, 0);
    top_bar_layout_->setSpacing(5);
    top_bar_->setLayout(top_bar_layout_);
    top_bar_layout_->addWidget(button_);
    layout_->addWidget(top_bar_);
    SetWidget(widget);
    connect(button_, SIGNAL(clicked()), this, SLOT(PopOut()));
}

void PopoutWigetBase::AddToTopBar(QWidget* widget)
{
    top_bar_layout_->addWidget(widget);
}

void PopoutWigetBase::SetWidget(QWidget* widget)
{
    widget_ = widget;
    if (widget != nullptr)
        layout_->addWidget(widget);
    layout_->addItem(new QSpacerItem(0, 0, QSizePolicy::Minimum, QSizePolicy::Minimum));
}

void PopoutWigetBase::EmptyLayout()
{
    while (QLayoutItem* item = layout_->takeAt(0)) {
        // Deleting an item leaves its widget alone; the spacers go with their items.
        delete item;
    }
}

void PopoutWigetBase::PopOut()
{
    // The button sits in the window's top bar while the panel is out: a click brings it back.
    if (window_ || widget_ == nullptr) {
        emit GetBack();
        return;
    }
    QWidget* widget = widget_;
    widget_ = nullptr;
    EmptyLayout();
    window_ = new PopOutWindow(widget, top_bar_, this);
    connect(window_, SIGNAL(WindowClosed(QWidget*)), this, SLOT(ClosedWindow(QWidget*)));
    connect(window_, SIGNAL(SendBackTopWidget(QWidget*)), this, SLOT(SendBackTopWidget(QWidget*)));
    connect(this, SIGNAL(GetBack()), window_, SLOT(close()));
    window_->show();
}

void PopoutWigetBase::SendBackTopWidget(QWidget* widget)
{
    layout_->addWidget(widget);
}

void PopoutWigetBase::ClosedWindow(QWidget* widget)
{
    FILE_LOG(logDEBUG) << "Window destroyed";
    // Forget the window: it deletes itself, and must never close this frame's next one.
    if (window_) {
        disconnect(this, nullptr, window_, nullptr);
        disconnect(window_, nullptr, this, nullptr);
    }
    window_ = nullptr;
    SetWidget(widget);
}
