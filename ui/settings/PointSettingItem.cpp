#include "ui/settings/PointSettingItem.h"
#include "ui/controls/ValueSelector.h"

#include <QGridLayout>
#include <QLabel>

#include <algorithm>

PointSettingItem::PointSettingItem(cv::Point* point, const QString& label, int minimum_x, int minimum_y,
                                   int maximum_x, int maximum_y, QWidget* parent)
    : GUISettingItem(parent), point_(point), minimum_x_(minimum_x), minimum_y_(minimum_y),
      maximum_x_(maximum_x), maximum_y_(maximum_y), x_(MakeSelector()), y_(MakeSelector())
{
    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(label, this), 0, 0, 1, 2);
    layout->addWidget(new QLabel("X", this), 1, 0);
    layout->addWidget(x_, 1, 1);
    layout->addWidget(new QLabel("Y", this), 2, 0);
    layout->addWidget(y_, 2, 1);
    UpdateFromVariable();
    connect(x_, SIGNAL(ValueChangedInt(int)), this, SLOT(UpdateVariable()));
    connect(y_, SIGNAL(ValueChangedInt(int)), this, SLOT(UpdateVariable()));
}

ValueSelector* PointSettingItem::MakeSelector()
{
    // A point has no upper bound, so the unbounded drag-to-change number suits it.
    auto* selector = new ValueSelector(this);
    selector->SetIntMode(true);
    selector->SetNumberMode(true);
    return selector;
}

void PointSettingItem::UpdateFromVariable()
{
    x_->SetValue(point_->x);
    y_->SetValue(point_->y);
}

void PointSettingItem::UpdateVariable()
{
    point_->x = std::max(x_->Value(), minimum_x_);
    point_->y = std::max(y_->Value(), minimum_y_);
}
