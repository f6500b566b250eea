// Helpers for the window panels' tests: waiting while the event loop runs, and reading
// what a widget or its tool tip shows on screen.
#pragma once

#include "support/TestSupport.h"

#include <QApplication>
#include <QColor>
#include <QCoreApplication>
#include <QEvent>
#include <QHelpEvent>
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

// The tool tip on show, a window of its own; null when none shows.
inline QWidget* ShownToolTip()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->inherits("QTipLabel") && window->isVisible())
            return window;
    return nullptr;
}

// Shows the widget's tool tip at the point as a pause of the mouse there would.
inline void HoverForToolTip(QWidget* widget, QPoint at)
{
    QHelpEvent hover(QEvent::ToolTip, at, widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &hover);
}

// Light text on a dark ground, as a person reads it: the ground just inside a one-pixel
// frame is dark and some text pixels are light.
inline bool IsLightTextOnDark(const QImage& image)
{
    if (qGray(image.pixel(2, 2)) > 80)
        return false;
    for (int y = 2; y < image.height() - 2; ++y)
        for (int x = 2; x < image.width() - 2; ++x)
            if (qGray(image.pixel(x, y)) > 170)
                return true;
    return false;
}

}  // namespace windowtest
