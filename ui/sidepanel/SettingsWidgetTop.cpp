#include "ui/sidepanel/SettingsWidgetTop.h"

#include "core/LayoutUtilities.h"
#include "ui/controls/StyledBackground.h"
#include "ui/sidepanel/ElementSelectorWidget.h"
#include "ui/sidepanel/GlobalSettingsWidget.h"
#include "ui/sidepanel/SideBar.h"
#include "ui/sidepanel/SideBarContainer.h"

#include <QGridLayout>
#include <QStackedWidget>

SettingsWidgetTop::SettingsWidgetTop(boost::shared_ptr<ControlAndStatus> hub, QWidget* parent)
    : QWidget(parent), hub_(hub)
{
    MakeWidgets();
    AddPages();
    layout_->addWidget(side_bar_container_, 0, 0, 1, 1);
    layout_->addWidget(pages_, 0, 1, 1, 1);
    side_bar_->AddSpacer();
    SetZeroMargins(layout_);
    setContentsMargins(0, 0, 0, 0);
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Maximum);
    side_bar_->ButtonPressedSlot("Elements");
    pages_->setCurrentIndex(0);
}

void SettingsWidgetTop::MakeWidgets()
{
    layout_ = new QGridLayout(this);
    side_bar_container_ = new SideBarContainer(this);
    side_bar_ = side_bar_container_->GetSideBar();
    pages_ = new QStackedWidget(this);
}

void SettingsWidgetTop::AddPages()
{
    AddPage(new ElementSelectorWidget(hub_, this), "Elements");
    AddPage(new GlobalSettingsWidget(hub_, this), "Settings");
    connect(side_bar_, SIGNAL(ButtonPressed(QString)), this, SLOT(SetWidgetShown(QString)));
}

void SettingsWidgetTop::AddPage(QWidget* widget, const QString& name)
{
    side_bar_->AddButton(name);
    page_index_[name] = pages_->addWidget(widget);
}

void SettingsWidgetTop::SetWidgetShown(QString name_of_widget)
{
    const auto page = page_index_.find(name_of_widget);
    if (page != page_index_.end()) {
        pages_->show();
        pages_->setCurrentIndex(page->second);
        // Shown by a caller rather than a click, the page's button still lights up.
        side_bar_->HighLightButton(name_of_widget);
    } else if (name_of_widget == "hide_settings") {
        pages_->hide();
    }
    emit ItemChanged(name_of_widget);
}

void SettingsWidgetTop::paintEvent(QPaintEvent*)
{
    PaintStyledBackground(this);
}
