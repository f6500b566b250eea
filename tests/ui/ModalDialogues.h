#pragma once
// Acts on the next modal dialogue from a timer, for tests whose code under test runs
// the dialogue's own event loop (static QFileDialog / QColorDialog functions).

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

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

// Clicks the button, lets the action close the dialogue that opens, and waits until
// it is gone; false when no dialogue came and went within the deadline.
inline bool ClickAndAnswer(QWidget* button, std::function<void(QWidget*)> action)
{
    auto answered = std::make_shared<bool>(false);
    WhenModalOpens([answered, action](QWidget* dialogue) {
        action(dialogue);
        *answered = true;
    });
    QTest::mouseClick(button, Qt::LeftButton);
    return QTest::qWaitFor([answered] { return *answered && QApplication::activeModalWidget() == nullptr; },
                           10000);
}

}  // namespace testsupport
