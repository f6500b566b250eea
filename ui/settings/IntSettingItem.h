#pragma once
// Editor of a plain integer that its caller owns: a slider beside a spin box under a
// label, both held to minimum..maximum. The value is read and written on the GUI thread
// only, so it has no lock. Nothing in the application builds this editor.

#include "ui/settings/GUISettingItem.h"

class QLabel;
class QSlider;
class QSpinBox;

class IntSettingItem : public GUISettingItem {
    Q_OBJECT
public:
    IntSettingItem(int* variable, const QString& label, int minimum, int maximum, QWidget* parent,
                   bool emit_update = true);

    QSlider* Slider() const { return slider_; }
    QSpinBox* SpinBox() const { return spin_box_; }

signals:
    void ValueChanged();

public slots:
    void SetValue(int value);

private:
    void Show(int value);

    int* variable_;  // borrowed
    bool emit_update_;
    QLabel* label_;
    QSlider* slider_;
    QSpinBox* spin_box_;
};
