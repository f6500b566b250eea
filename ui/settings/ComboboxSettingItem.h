#pragma once
// Editor of a text setting chosen from a list: a label over a choice box that starts
// on the stored text (a stored text that is not in the list is shown as an extra
// entry). Choosing an entry writes its text, fires the optional back-end signal,
// then emits UpdateSettingsSignal().

#include "ui/settings/GUISettingItem.h"

#include "core/ThreadSafeVariable.h"

#include <boost/signals2/signal.hpp>

#include <string>
#include <vector>

class QComboBox;

class ComboboxSettingItem : public GUISettingItem {
    Q_OBJECT
public:
    // The signal is borrowed and may be null.
    ComboboxSettingItem(ThreadSafeVariable<std::string>* variable, const QString& label,
                        const std::vector<std::string>& items, QWidget* parent,
                        boost::signals2::signal<void()>* signal = nullptr);

    QComboBox* Box() const { return box_; }

public slots:
    void BoxChanged(QString item);

private:
    void SelectStoredText();

    ThreadSafeVariable<std::string>* variable_;  // borrowed
    boost::signals2::signal<void()>* signal_;    // borrowed, may be null
    QComboBox* box_;
};
