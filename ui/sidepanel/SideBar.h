#pragma once
// The column (or row) of CustomButtons that picks the side panel's page. Exactly the
// button whose name was last pressed is highlighted. The buttons are its children.

#include <QFrame>
#include <QString>

class CustomButton;
class QBoxLayout;
class QSpacerItem;

class SideBar : public QFrame {
    Q_OBJECT
public:
    static constexpr int kWidth = 91;

    SideBar(QWidget* parent, bool vertical);

    CustomButton* AddButton(const QString& name);
    // A trailing spacer that takes the room the buttons leave.
    void AddSpacer();
    // Whether the buttons use all the height (only a vertical bar keeps its spacer).
    bool IsSpacerCollapsed() const;

signals:
    void ButtonPressed(QString name);

public slots:
    void ButtonPressedSlot(QString button_name);
    void HighLightButton(QString button_name);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QBoxLayout* layout_;
    bool vertical_;
    QSpacerItem* spacer_ = nullptr;  // owned by layout_
};
