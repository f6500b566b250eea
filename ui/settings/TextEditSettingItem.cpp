#include "ui/settings/TextEditSettingItem.h"

#include "core/QtUtilities.h"

#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QVBoxLayout>

TextEditSettingItem::TextEditSettingItem(ThreadSafeVariable<std::string>* variable, const QString& label,
                                         QWidget* parent)
    : GUISettingItem(parent), variable_(variable), label_(new QLabel(label, this)),
      line_edit_(new QLineEdit(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label_);
    layout->addWidget(line_edit_);
    SetFromVariable();
    connect(line_edit_, SIGNAL(textChanged(QString)), this, SLOT(UpdateVariableFromBox(QString)));
}

void TextEditSettingItem::SetFromVariable()
{
    const QString text = ToQString(variable_->Get());
    if (line_edit_->text() == text)
        return;  // keeps the cursor where the user left it
    const QSignalBlocker blocker(line_edit_);
    line_edit_->setText(text);
}

void TextEditSettingItem::UpdateVariableFromBox(QString value)
{
    variable_->Set(value.toStdString());
}
