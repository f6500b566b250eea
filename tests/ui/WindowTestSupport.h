// Helpers for the window panels' tests: waiting while the event loop runs, and reading
// what a widget shows on screen.
#pragma once

#include "support/TestSupport.h"

#include <QColor>
#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <QWidget>

#include <chrono>
#include <functional>

namespace windowtest {

// Runs the event loop until the condition holds; the deadline only guards against a hang.
inline bool WaitForGui(const std::function<bool()>& condition,
                       std::chrono::milliseconds deadline = std::chrono::seconds(20))
{
    return testsupport::WaitFor(
        [&] {
            QCoreApplication::processEvents();
            return condition();
        },
        deadline);
}

// Lets windows closed with WA_DeleteOnClose go.
inline void RunDeferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// What the widget shows, as an image of its own size.
inline QImage Screen(QWidget* widget)
{
    return widget->grab().toImage();
}

inline QColor PixelAt(QWidget* widget, int x, int y)
{
    return Screen(widget).pixelColor(x, y);
}

}  // namespace windowtest
