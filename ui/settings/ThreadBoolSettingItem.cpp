#include "ui/settings/ThreadBoolSettingItem.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QPointer>

ThreadBoolSettingItem::ThreadBoolSettingItem(ThreadSafeVariable<bool>* variable, const QString& label,
                                             QWidget* parent, bool emit_update,
                                             boost::signals2::signal<void()>* signal)
    : GUISettingItem(parent), variable_(variable), emit_update_(emit_update), signal_(signal),
      check_box_(new QCheckBox(label, this))
{
    auto* layout = new QGridLayout(this);
    layout->addWidget(check_box_, 0, 0);
    SetExpandingRow();
    check_box_->setChecked(variable_->Get());
    connect(check_box_, SIGNAL(toggled(bool)), this, SLOT(SetValue(bool)));
}

void ThreadBoolSettingItem::SetValue(bool value)
{
    variable_->Set(value);
    const QPointer<ThreadBoolSettingItem> self(this);
    emit ValueChanged();
    if (self && emit_update_)
        emit UpdateSettingsSignal();
    if (self && signal_)
        (*signal_)();
}
