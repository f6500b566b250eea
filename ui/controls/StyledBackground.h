#pragma once
// Style-sheet backgrounds for own QWidget subclasses: plain QWidget subclasses draw
// no style-sheet background unless they paint the PE_Widget primitive themselves.

#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QWidget>

// Call from paintEvent.
inline void PaintStyledBackground(QWidget* widget)
{
    QStyleOption option;
    option.initFrom(widget);
    QPainter painter(widget);
    widget->style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, widget);
}
