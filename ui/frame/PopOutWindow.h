#pragma once
// A window of its own for a panel taken out of its pop-out frame. It holds the panel and
// the frame's top bar while open and hands both back when it closes; it then forgets
// them, so a second close hands nothing back. The frame is its parent; it deletes itself
// when closed. A window without a top bar (null) just holds its widget.

#include <QPointer>
#include <QWidget>

class QVBoxLayout;

class PopOutWindow : public QWidget {
    Q_OBJECT
public:
    PopOutWindow(QWidget* widget, QWidget* top_bar, QWidget* parent);

signals:
    void WindowClosed(QWidget* widget_stored);
    void SendBackTopWidget(QWidget* top_widget);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QVBoxLayout* layout_;
    QPointer<QWidget> widget_;
    QPointer<QWidget> top_bar_;
};
