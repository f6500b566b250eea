#pragma once
// Read-only view of a text setting: a label over the value, refreshed every 50 ms.

#include "ui/settings/GUISettingItem.h"

#include "core/ThreadSafeVariable.h"

#include <string>

class QLabel;

class StringLabelSettingItem : public GUISettingItem {
    Q_OBJECT
public:
    StringLabelSettingItem(ThreadSafeVariable<std::string>* variable, const QString& label, QWidget* parent);

    QLabel* ValueLabel() const { return value_label_; }

public slots:
    void SetFromVariable();

private:
    ThreadSafeVariable<std::string>* variable_;  // borrowed
    QLabel* value_label_;
};
