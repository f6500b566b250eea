#pragma once
// Editor of a free-text setting: its label over a line edit. Every keystroke writes
// the text; nothing is emitted, the element reads the text when it needs it.

#include "ui/settings/GUISettingItem.h"

#include "core/ThreadSafeVariable.h"

#include <string>

class QLabel;
class QLineEdit;

class TextEditSettingItem : public GUISettingItem {
    Q_OBJECT
public:
    TextEditSettingItem(ThreadSafeVariable<std::string>* variable, const QString& label, QWidget* parent);

    QLabel* Label() const { return label_; }
    QLineEdit* LineEdit() const { return line_edit_; }

public slots:
    void SetFromVariable();
    void UpdateVariableFromBox(QString value);

private:
    ThreadSafeVariable<std::string>* variable_;  // borrowed
    QLabel* label_;
    QLineEdit* line_edit_;
};
