#pragma once
// Acts on the next modal dialogue from a timer, for tests whose code under test runs
// the dialogue's own event loop (static QFileDialog / QColorDialog functions).

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace testsupport {

// Polls until a modal dialogue is active, then hands it to the action once.
inline void WhenModalOpens(std::function<void(QWidget*)> action)
{
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [timer, action]() {
        QWidget* dialogue = QApplication::activeModalWidget();
        if (dialogue == nullptr)
            return;
        timer->stop();
        timer->deleteLater();
        action(dialogue);
    });
    timer->start(10);
}

}  // namespace testsupport
