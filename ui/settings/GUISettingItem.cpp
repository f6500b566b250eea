#include "ui/settings/GUISettingItem.h"
#include "ui/controls/StyledBackground.h"

GUISettingItem::GUISettingItem(QWidget* parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Minimum);
}

void GUISettingItem::paintEvent(QPaintEvent*)
{
    PaintStyledBackground(this);
}

void GUISettingItem::SetExpandingRow()
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Maximum);
}
