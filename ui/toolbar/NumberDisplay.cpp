#include "ui/toolbar/NumberDisplay.h"

#include "ui/controls/StyledBackground.h"

#include <QHBoxLayout>
#include <QLabel>

NumberDisplay::NumberDisplay(QWidget* parent)
    : QWidget(parent), layout_(new QHBoxLayout(this)), name_(new QLabel(this)), number_(new QLabel(this))
{
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(5);
    number_->setStyleSheet("font: 22pt;");
    layout_->addWidget(name_);
    layout_->addWidget(number_);
}

void NumberDisplay::SetName(const QString& name)
{
    name_->setText(name);
}

void NumberDisplay::SetNumber(int number)
{
    number_->setText(FormatNumber(number));
}

QString NumberDisplay::NumberText() const
{
    return number_->text();
}

QString NumberDisplay::FormatNumber(int number)
{
    // Only one-digit counts get the zero: a negative number keeps its sign in front.
    if (number >= 0 && number < 10)
        return "0" + QString::number(number);
    return QString::number(number);
}

void NumberDisplay::paintEvent(QPaintEvent*)
{
    PaintStyledBackground(this);
}
