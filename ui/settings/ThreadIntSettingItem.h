#pragma once
// Editor of an integer setting: a slider beside a spin box under a label. User input
// is held to [minimum, maximum] (the whole int range in no-limits mode, which hides
// the slider); in odd mode an even input becomes the nearest odd value in that range.

#include "ui/settings/GUISettingItem.h"

#include "core/ThreadSafeVariable.h"

#include <QStringList>

class BetterSlider;
class QLabel;
class QSpinBox;
class QTimer;

class ThreadIntSettingItem : public GUISettingItem {
    Q_OBJECT
public:
    // The texts are accepted and unused: a choice among texts gets IntComboBoxSettingItem.
    ThreadIntSettingItem(ThreadSafeVariable<int>* variable, const QString& label, int minimum, int maximum,
                         QWidget* parent, bool emit_update = true, const QStringList& texts = QStringList());

    // On: follows back-end changes every 25 ms, except the slider while the user holds it.
    void SetUpdate(bool on);
    void SetNoLimits(bool on);
    void SetOdd(bool on) { odd_ = on; }

    QLabel* Label() const { return label_; }
    BetterSlider* Slider() const { return slider_; }
    QSpinBox* SpinBox() const { return spin_box_; }

signals:
    void ValueChanged();

public slots:
    void SetValue(int value);
    void UpdateFromVariable();

private:
    int Low() const;
    int High() const;
    // The value the user's input stores: inside the range, odd in odd mode when it can be.
    int Accepted(int value) const;
    void Show(int value);

    ThreadSafeVariable<int>* variable_;  // borrowed
    int minimum_;
    int maximum_;
    bool emit_update_;
    bool update_ = false;
    bool no_limits_ = false;
    bool odd_ = false;
    QLabel* label_;
    BetterSlider* slider_;
    QSpinBox* spin_box_;
    QTimer* timer_;
};
