#include "ui/sidepanel/SideBarContainer.h"

#include "core/LayoutUtilities.h"
#include "ui/controls/StyledBackground.h"
#include "ui/sidepanel/SideBar.h"

#include <QEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

SideBarContainer::SideBarContainer(QWidget* parent)
    : QWidget(parent), layout_(new QVBoxLayout(this)),
      up_(new QPushButton(QString::fromUtf8("\u25B2"), this)),
      down_(new QPushButton(QString::fromUtf8("\u25BC"), this)), scroll_area_(new QScrollArea(this)),
      side_bar_(new SideBar(nullptr, true))
{
    scroll_area_->setWidget(side_bar_);
    scroll_area_->setWidgetResizable(true);
    scroll_area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll_area_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll_area_->setMinimumWidth(side_bar_->width());
    scroll_area_->setMaximumWidth(side_bar_->width());
    SetZeroMargins(layout_);
    layout_->addWidget(up_);
    layout_->addWidget(scroll_area_);
    layout_->addWidget(down_);
    connect(up_, SIGNAL(clicked()), this, SLOT(MoveUp()));
    connect(down_, SIGNAL(clicked()), this, SLOT(MoveDown()));
    side_bar_->installEventFilter(this);
}

void SideBarContainer::MoveUp()
{
    QScrollBar* bar = scroll_area_->verticalScrollBar();
    bar->setValue(bar->value() - kScrollStep);
}

void SideBarContainer::MoveDown()
{
    QScrollBar* bar = scroll_area_->verticalScrollBar();
    bar->setValue(bar->value() + kScrollStep);
}

void SideBarContainer::paintEvent(QPaintEvent*)
{
    PaintStyledBackground(this);
}

void SideBarContainer::resizeEvent(QResizeEvent* event)
{
    UpdateArrows();
    setMinimumWidth(side_bar_->width());
    setMaximumWidth(side_bar_->width());
    QWidget::resizeEvent(event);
}

bool SideBarContainer::eventFilter(QObject* watched, QEvent* event)
{
    // Queued: the bar is resized while this container's layout is at work.
    if (watched == side_bar_ && event->type() == QEvent::Resize)
        QMetaObject::invokeMethod(this, "UpdateArrows", Qt::QueuedConnection);
    return QWidget::eventFilter(watched, event);
}

void SideBarContainer::UpdateArrows()
{
    const bool crowded = side_bar_->IsSpacerCollapsed();
    up_->setVisible(crowded);
    down_->setVisible(crowded);
}
