#include "ui/sidepanel/NodeSidebarTop.h"

#include <QTabWidget>
#include <QVBoxLayout>

NodeSidebarTop::NodeSidebarTop(QWidget* parent)
    : QWidget(parent), layout_(new QVBoxLayout(this)), tabs_(new QTabWidget(this))
{
    layout_->addWidget(tabs_);
}

void NodeSidebarTop::AddSettingWidget(QWidget* widget)
{
    tabs_->insertTab(1, widget, "Settings");
}
