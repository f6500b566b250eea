#pragma once
// Editor of a plain floating-point value that its caller owns: a slider beside a spin
// box under a label. Slider units map to values as units x scale + offset, kSteps units
// across minimum..maximum. The value is read and written on the GUI thread only, so it
// has no lock. Nothing in the application builds this editor.

#include "ui/settings/GUISettingItem.h"

class QDoubleSpinBox;
class QLabel;
class QSlider;

class DoubleSettingItem : public GUISettingItem {
    Q_OBJECT
public:
    static constexpr int kSteps = 1000;

    DoubleSettingItem(double* variable, const QString& label, double minimum, double maximum, QWidget* parent,
                      bool emit_update = true);

    double Scale() const { return scale_; }
    double Offset() const { return offset_; }
    QSlider* Slider() const { return slider_; }
    QDoubleSpinBox* SpinBox() const { return spin_box_; }

signals:
    void ValueChanged();

public slots:
    void SetValueFromSlider(int value);
    void SetValueFromSpinBox(double value);

private:
    void ShowOnSlider(double value);
    void Announce();

    double* variable_;  // borrowed
    double scale_;
    double offset_;
    bool emit_update_;
    QLabel* label_;
    QSlider* slider_;
    QDoubleSpinBox* spin_box_;
};
