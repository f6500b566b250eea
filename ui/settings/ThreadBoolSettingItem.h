#pragma once
// Editor of a yes/no setting: one check box. After a toggle it can fire a back-end
// signal (the hub's reset-pipeline); it fires it last, so whoever handles it may
// queue the deletion of this editor.

#include "ui/settings/GUISettingItem.h"

#include "core/ThreadSafeVariable.h"

#include <boost/signals2/signal.hpp>

class QCheckBox;

class ThreadBoolSettingItem : public GUISettingItem {
    Q_OBJECT
public:
    // The signal is borrowed and may be null.
    ThreadBoolSettingItem(ThreadSafeVariable<bool>* variable, const QString& label, QWidget* parent,
                          bool emit_update = true, boost::signals2::signal<void()>* signal = nullptr);

    QCheckBox* CheckBox() const { return check_box_; }

signals:
    void ValueChanged();

public slots:
    void SetValue(bool value);

private:
    ThreadSafeVariable<bool>* variable_;  // borrowed
    bool emit_update_;
    boost::signals2::signal<void()>* signal_;  // borrowed, may be null
    QCheckBox* check_box_;
};
