#include "ui/settings/StringSettingItem.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

StringSettingItem::StringSettingItem(std::string* variable, const QString& label, QWidget* parent,
                                     bool emit_update)
    : GUISettingItem(parent), variable_(variable), emit_update_(emit_update), label_(new QLabel(label, this)),
      line_edit_(new QLineEdit(QString::fromStdString(*variable), this))
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label_);
    layout->addWidget(line_edit_);
    SetExpandingRow();
    connect(line_edit_, SIGNAL(textChanged(QString)), this, SLOT(SetValue(QString)));
}

void StringSettingItem::SetValue(QString value)
{
    *variable_ = value.toStdString();
    emit ValueChanged();
    if (emit_update_)
        emit UpdateSettingsSignal();
}
