#include "ui/settings/FileSelectWidget.h"

#include "core/QtUtilities.h"
#include "ui/settings/DialogueParent.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

FileSelectWidget::FileSelectWidget(ThreadSafeVariable<std::string>* variable, const QString& label,
                                   QWidget* parent, bool /*emit_update*/, bool directory, bool save)
    : GUISettingItem(parent), variable_(variable), directory_(directory), save_(save),
      button_(new QPushButton(label, this)), path_label_(new QLabel(this))
{
    path_label_->setWordWrap(true);
    auto* layout = new QGridLayout(this);
    layout->addWidget(button_, 0, 0);
    layout->addWidget(path_label_, 1, 0);
    SetExpandingRow();
    ShowPath(variable_->Get());
    // Queued: the dialogue's event loop must not run inside the button's own click
    // handling, where a rebuild that deletes this editor would pull the button away.
    connect(button_, SIGNAL(clicked()), this, SLOT(ShowFileDialogue()), Qt::QueuedConnection);
}

void FileSelectWidget::ShowPath(const std::string& path)
{
    path_label_->setText(path.empty() ? tr("Path Not Set") : ToQString(path));
}

QString FileSelectWidget::AskForPath(const QString& start)
{
    // Parented to the window, so a panel rebuilt meanwhile does not take the dialogue along.
    QWidget* parent = DialogueParent(this);
    if (directory_)
        return QFileDialog::getExistingDirectory(parent, tr("Open Directory"), start,
                                                 QFileDialog::ShowDirsOnly);
    if (save_)
        return QFileDialog::getSaveFileName(parent, tr("Save File"), start);
    return QFileDialog::getOpenFileName(parent, tr("Open File"), start);
}

void FileSelectWidget::ShowFileDialogue()
{
    const QPointer<FileSelectWidget> self(this);
    const QString path = AskForPath(ToQString(variable_->Get()));
    if (!self || path.isEmpty())
        return;
    const std::string chosen = path.toStdString();
    variable_->Set(chosen);
    ShowPath(chosen);
    emit UpdateSettingsSignal();
}
