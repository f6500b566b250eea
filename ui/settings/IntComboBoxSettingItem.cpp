#include "ui/settings/IntComboBoxSettingItem.h"
#include "ui/settings/ChoiceBoxLayout.h"

#include "core/QtUtilities.h"

#include <QComboBox>
#include <QPointer>
#include <QSignalBlocker>

IntComboBoxSettingItem::IntComboBoxSettingItem(ThreadSafeVariable<int>* variable, const QString& label,
                                               const std::vector<std::string>& items, QWidget* parent,
                                               boost::signals2::signal<void()>* signal)
    : GUISettingItem(parent), variable_(variable), signal_(signal), box_(LayOutChoiceBox(this, label))
{
    for (const std::string& item : items)
        box_->addItem(ToQString(item));
    {
        const QSignalBlocker blocker(box_);
        const int stored = variable_->Get();
        box_->setCurrentIndex(stored >= 0 && stored < box_->count() ? stored : -1);
    }
    connect(box_, SIGNAL(currentIndexChanged(int)), this, SLOT(BoxChanged(int)));
}

void IntComboBoxSettingItem::BoxChanged(int item)
{
    if (item < 0)
        return;  // the box was emptied, nothing was chosen
    variable_->Set(item);
    const QPointer<IntComboBoxSettingItem> self(this);
    if (signal_)
        (*signal_)();
    if (self)
        emit UpdateSettingsSignal();
}
