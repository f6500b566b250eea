#pragma once
// A frame around a panel with a thin top bar whose button moves the panel into a
// PopOutWindow and back. At most one window per frame exists at a time; it is a child of
// the frame and deletes itself when closed. The frame owns the panel while it holds it
// (the window owns it meanwhile, and gives it back when it closes).

#include "ui/frame/PopOutWindow.h"

#include <QPointer>
#include <QWidget>

class PopOutButton;
class QVBoxLayout;

class PopoutWigetBase : public QWidget {
    Q_OBJECT
public:
    PopoutWigetBase(QWidget* widget, QWidget* parent = nullptr);

    // Appends the widget to the top bar, after the pop-out button.
    void AddToTopBar(QWidget* widget);
    // The held panel; null while it is popped out.
    QWidget* HeldWidget() const { return widget_; }
    // The open window, or null.
    PopOutWindow* Window() const { return window_; }

signals:
    void GetBack();

public slots:
    void PopOut();
    void SendBackTopWidget(QWidget* widget);

protected slots:
    void SetWidget(QWidget* widget);
    void ClosedWindow(QWidget* widget);

private:
    // Takes every item out of the outer layout, deleting the spacer.
    void EmptyLayout();

    PopOutButton* button_;
    QVBoxLayout* layout_;
    QWidget* widget_ = nullptr;
    QVBoxLayout* top_bar_layout_;
    QWidget* top_bar_;
    QPointer<PopOutWindow> window_;
};
