#include "ui/sidepanel/TestWidget.h"

#include "ui/controls/StyledBackground.h"
#include "ui/controls/ValueSelector.h"

#include <QVBoxLayout>

TestWidget::TestWidget(boost::shared_ptr<ControlAndStatus>, QWidget* parent)
    : QWidget(parent), layout_(new QVBoxLayout(this)), selector_(new ValueSelector(this))
{
    selector_->SetNumberMode(true);
    selector_->SetIntMode(false);
    layout_->addWidget(selector_);
}

void TestWidget::paintEvent(QPaintEvent*)
{
    PaintStyledBackground(this);
}
