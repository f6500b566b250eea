#pragma once
// The layout shared by the choice editors: the label over the box.

#include <QComboBox>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

// Returns the box, a child of the editor.
inline QComboBox* LayOutChoiceBox(QWidget* editor, const QString& label)
{
    auto* layout = new QVBoxLayout(editor);
    layout->addWidget(new QLabel(label, editor));
    auto* box = new QComboBox(editor);
    layout->addWidget(box);
    return box;
}
