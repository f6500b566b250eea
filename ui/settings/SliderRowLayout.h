#pragma once
// The grid of the number editors: the label (word-wrapped) across the top, the slider
// below it and the spin box on its right.

#include <QGridLayout>
#include <QLabel>
#include <QWidget>

inline QGridLayout* LaySliderRow(QWidget* editor, QLabel* label, QWidget* slider, QWidget* spin_box)
{
    label->setWordWrap(true);
    slider->setMinimumWidth(200);
    auto* layout = new QGridLayout(editor);
    layout->addWidget(label, 0, 0, 1, 2);
    layout->addWidget(slider, 1, 0);
    layout->addWidget(spin_box, 1, 1);
    return layout;
}
