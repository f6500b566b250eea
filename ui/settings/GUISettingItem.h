#pragma once
// Base of every setting editor. An editor borrows a pointer to one live variable of
// the back end (never owns it), shows it, and writes only what the user enters, at
// once and under the variable's lock; then it emits UpdateSettingsSignal() when the
// element should take the change up. Showing or refreshing never writes and never emits.

#include <QWidget>

class GUISettingItem : public QWidget {
    Q_OBJECT
public:
    explicit GUISettingItem(QWidget* parent = nullptr);

signals:
    void UpdateSettingsSignal();

protected:
    // Editors with a style-sheet look draw their background.
    void paintEvent(QPaintEvent* event) override;
    // Editors whose row should stretch sideways.
    void SetExpandingRow();
};
