#include "ui/sidepanel/SideBar.h"

#include "core/LayoutUtilities.h"
#include "ui/controls/StyledBackground.h"
#include "ui/sidepanel/CustomButton.h"

#include <QBoxLayout>
#include <QSpacerItem>

SideBar::SideBar(QWidget* parent, bool vertical)
    : QFrame(parent),
      layout_(vertical ? static_cast<QBoxLayout*>(new QVBoxLayout(this)) : new QHBoxLayout(this)),
      vertical_(vertical)
{
    SetZeroMargins(layout_);
    setObjectName("SideBar");
    setMinimumWidth(kWidth);
    setMaximumWidth(kWidth);
}

CustomButton* SideBar::AddButton(const QString& name)
{
    auto* button = new CustomButton(name, name, this);
    connect(button, SIGNAL(ButtonPressed(QString)), this, SIGNAL(ButtonPressed(QString)));
    connect(button, SIGNAL(ButtonPressed(QString)), this, SLOT(ButtonPressedSlot(QString)));
    layout_->addWidget(button);
    return button;
}

void SideBar::AddSpacer()
{
    if (vertical_) {
        spacer_ = new QSpacerItem(0, 0, QSizePolicy::Maximum, QSizePolicy::Expanding);
        layout_->addItem(spacer_);
    } else {
        layout_->addItem(new QSpacerItem(0, 0, QSizePolicy::Expanding, QSizePolicy::Minimum));
    }
}

bool SideBar::IsSpacerCollapsed() const
{
    return spacer_ != nullptr && spacer_->geometry().height() == 0;
}

void SideBar::ButtonPressedSlot(QString button_name)
{
    HighLightButton(button_name);
}

void SideBar::HighLightButton(QString button_name)
{
    for (int i = 0; i < layout_->count(); ++i) {
        if (auto* button = qobject_cast<CustomButton*>(layout_->itemAt(i)->widget()))
            button->SetHighlighted(button->Name() == button_name);
    }
}

void SideBar::paintEvent(QPaintEvent*)
{
    PaintStyledBackground(this);
}
