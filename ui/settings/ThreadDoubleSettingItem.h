#pragma once
// Editor of a floating-point setting: a slider (or, in no-limits mode, a drag-to-change
// number) beside a spin box, under a label whose click flips the mode. User input is
// held to [minimum, maximum] except in no-limits mode, where any double goes.

#include "ui/settings/GUISettingItem.h"

#include "core/ThreadSafeVariable.h"

class ClickableLabel;
class QDoubleSpinBox;
class QTimer;
class ValueSelector;

class ThreadDoubleSettingItem : public GUISettingItem {
    Q_OBJECT
public:
    ThreadDoubleSettingItem(ThreadSafeVariable<double>* variable, const QString& label, double minimum,
                            double maximum, QWidget* parent, bool emit_update = true, bool no_limits = false);

    // On: follows back-end changes every 100 ms, except while the user holds the control.
    void SetUpdate(bool on);
    void SetNoLimits(bool on);
    bool IsNoLimits() const { return no_limits_; }

    ClickableLabel* Label() const { return label_; }
    ValueSelector* Selector() const { return selector_; }
    QDoubleSpinBox* SpinBox() const { return spin_box_; }

signals:
    void ValueChanged();

public slots:
    void SetValueFromSlider(double value);
    void SetValueFromSpinBox(double value);
    void UpdateFromVariable();
    // Asks for a number in minimum..maximum (4 decimals); OK writes it, Cancel nothing.
    void ShowInputDialogue();
    void ToggleMode();

private:
    // Stores the user's value (held to the range unless no limits) and returns it.
    double Write(double value);
    void ShowInSpinBox(double value);
    void Announce();

    ThreadSafeVariable<double>* variable_;  // borrowed
    double minimum_;
    double maximum_;
    bool emit_update_;
    bool no_limits_ = false;
    bool update_ = false;
    ClickableLabel* label_;
    ValueSelector* selector_;
    QDoubleSpinBox* spin_box_;
    QTimer* timer_;
};
