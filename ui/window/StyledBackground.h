#pragma once
// Paints a custom widget's style-sheet background; plain QWidget subclasses get none
// unless they draw the PE_Widget primitive themselves.

#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QWidget>

inline void PaintStyledBackground(QWidget* widget)
{
    QStyleOption option;
    option.initFrom(widget);
    QPainter painter(widget);
    widget->style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, widget);
}
