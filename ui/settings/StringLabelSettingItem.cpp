#include "ui/settings/StringLabelSettingItem.h"

#include "core/QtUtilities.h"

#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

StringLabelSettingItem::StringLabelSettingItem(ThreadSafeVariable<std::string>* variable,
                                               const QString& label, QWidget* parent)
    : GUISettingItem(parent), variable_(variable), value_label_(new QLabel(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(label, this));
    layout->addWidget(value_label_);
    SetFromVariable();
    auto* timer = new QTimer(this);
    connect(timer, SIGNAL(timeout()), this, SLOT(SetFromVariable()));
    timer->start(50);
}

void StringLabelSettingItem::SetFromVariable()
{
    const QString text = ToQString(variable_->Get());
    if (value_label_->text() != text)
        value_label_->setText(text);
}
