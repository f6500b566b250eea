#pragma once
// Mouse events sent straight to a widget. Offscreen, QTest::mouseMove delivers no
// move event, so the widget tests build the events themselves.

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

namespace testsupport {

// The global position follows the widget's own mapping, as a real event's would.
inline void SendMouse(QWidget* widget, QEvent::Type type, const QPoint& pos,
                      Qt::MouseButton button = Qt::LeftButton, Qt::MouseButtons buttons = Qt::LeftButton)
{
    QMouseEvent event(type, QPointF(pos), QPointF(widget->mapToGlobal(pos)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

inline void Press(QWidget* widget, const QPoint& pos, Qt::MouseButton button = Qt::LeftButton)
{
    SendMouse(widget, QEvent::MouseButtonPress, pos, button, button);
}

inline void Move(QWidget* widget, const QPoint& pos, Qt::MouseButtons held = Qt::LeftButton)
{
    SendMouse(widget, QEvent::MouseMove, pos, Qt::NoButton, held);
}

inline void Release(QWidget* widget, const QPoint& pos, Qt::MouseButton button = Qt::LeftButton)
{
    SendMouse(widget, QEvent::MouseButtonRelease, pos, button, Qt::NoButton);
}

inline void Click(QWidget* widget, const QPoint& pos, Qt::MouseButton button = Qt::LeftButton)
{
    Press(widget, pos, button);
    Release(widget, pos, button);
}

}  // namespace testsupport
