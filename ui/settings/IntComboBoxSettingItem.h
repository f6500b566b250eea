#pragma once
// Editor of an integer setting chosen from a list and stored as the entry's index:
// a label over a choice box that starts on the stored index (none shown when the
// index is not in the list). Choosing an entry writes its index, fires the optional
// back-end signal, then emits UpdateSettingsSignal().

#include "ui/settings/GUISettingItem.h"

#include "core/ThreadSafeVariable.h"

#include <boost/signals2/signal.hpp>

#include <string>
#include <vector>

class QComboBox;

class IntComboBoxSettingItem : public GUISettingItem {
    Q_OBJECT
public:
    // The signal is borrowed and may be null.
    IntComboBoxSettingItem(ThreadSafeVariable<int>* variable, const QString& label,
                           const std::vector<std::string>& items, QWidget* parent,
                           boost::signals2::signal<void()>* signal = nullptr);

    QComboBox* Box() const { return box_; }

public slots:
    void BoxChanged(int item);

private:
    ThreadSafeVariable<int>* variable_;        // borrowed
    boost::signals2::signal<void()>* signal_;  // borrowed, may be null
    QComboBox* box_;
};
