#pragma once
// Editor of a plain text that its caller owns: a line edit under a label, written at
// every change. The text is read and written on the GUI thread only, so it has no lock.
// Nothing in the application builds this editor.

#include "ui/settings/GUISettingItem.h"

#include <string>

class QLabel;
class QLineEdit;

class StringSettingItem : public GUISettingItem {
    Q_OBJECT
public:
    StringSettingItem(std::string* variable, const QString& label, QWidget* parent, bool emit_update = true);

    QLineEdit* LineEdit() const { return line_edit_; }

signals:
    void ValueChanged();

public slots:
    void SetValue(QString value);

private:
    std::string* variable_;  // borrowed
    bool emit_update_;
    QLabel* label_;
    QLineEdit* line_edit_;
};
