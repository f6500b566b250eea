#pragma once
// Editor of a path setting: a button that opens a file, save-file or folder dialogue,
// and the chosen path below it ("Path Not Set" while empty). A cancelled dialogue
// changes nothing.

#include "ui/settings/GUISettingItem.h"

#include "core/ThreadSafeVariable.h"

#include <string>

class QLabel;
class QPushButton;

class FileSelectWidget : public GUISettingItem {
    Q_OBJECT
public:
    // emit_update is taken in the place the other editors take theirs, but unused: a chosen
    // path is always announced.
    FileSelectWidget(ThreadSafeVariable<std::string>* variable, const QString& label, QWidget* parent,
                     bool emit_update, bool directory, bool save);

    QPushButton* Button() const { return button_; }
    QLabel* PathLabel() const { return path_label_; }

signals:
    // Declared beside the other editors' value signal; this editor tells changes only
    // through UpdateSettingsSignal().
    void ValueChanged();

public slots:
    void ShowFileDialogue();

private:
    QString AskForPath(const QString& start);
    void ShowPath(const std::string& path);

    ThreadSafeVariable<std::string>* variable_;  // borrowed
    bool directory_;
    bool save_;
    QPushButton* button_;
    QLabel* path_label_;
};
