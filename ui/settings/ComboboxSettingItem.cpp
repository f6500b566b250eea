#include "ui/settings/ComboboxSettingItem.h"
#include "ui/settings/ChoiceBoxLayout.h"

#include "core/QtUtilities.h"

#include <QComboBox>
#include <QPointer>
#include <QSignalBlocker>

ComboboxSettingItem::ComboboxSettingItem(ThreadSafeVariable<std::string>* variable, const QString& label,
                                         const std::vector<std::string>& items, QWidget* parent,
                                         boost::signals2::signal<void()>* signal)
    : GUISettingItem(parent), variable_(variable), signal_(signal), box_(LayOutChoiceBox(this, label))
{
    for (const std::string& item : items)
        box_->addItem(ToQString(item));
    SelectStoredText();
    connect(box_, SIGNAL(currentTextChanged(QString)), this, SLOT(BoxChanged(QString)));
}

void ComboboxSettingItem::SelectStoredText()
{
    const QSignalBlocker blocker(box_);
    const QString stored = ToQString(variable_->Get());
    int index = box_->findText(stored);
    if (index < 0 && !stored.isEmpty()) {
        box_->addItem(stored);
        index = box_->count() - 1;
    }
    box_->setCurrentIndex(index);
}

void ComboboxSettingItem::BoxChanged(QString item)
{
    variable_->Set(item.toStdString());
    const QPointer<ComboboxSettingItem> self(this);
    if (signal_)
        (*signal_)();
    if (self)
        emit UpdateSettingsSignal();
}
