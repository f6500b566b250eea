#pragma once
// Acts on the next modal dialogue from a timer, for tests whose code under test runs
// the dialogue's own event loop (static QFileDialog / QColorDialog functions).

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QPointer>
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

// Puts the file in the dialogue's name box. The dialogue ignores selectFile while that
// box has the focus, which it may already have once the dialogue is active.
inline void ChooseFile(QFileDialog* dialogue, const QString& file)
{
    if (QWidget* focused = dialogue->focusWidget())
        focused->clearFocus();
    dialogue->selectFile(file);
}

// Runs the code that opens a dialogue (a click, or a slot called directly), lets the
// action close the dialogue, and waits until it is gone; false when no dialogue came
// and went within the deadline. A dialogue the action left open is rejected after the
// deadline, so the test fails, not hangs (the dialogue's own loop would keep the wait
// below from ever returning).
inline bool RunAndAnswer(const std::function<void()>& run, std::function<void(QWidget*)> action)
{
    constexpr int kDeadlineMs = 10000;
    auto answered = std::make_shared<bool>(false);
    auto left_open = std::make_shared<bool>(false);
    WhenModalOpens([answered, left_open, action](QWidget* dialogue) {
        action(dialogue);
        *answered = true;
        const QPointer<QWidget> open(dialogue);
        QTimer::singleShot(kDeadlineMs, qApp, [open, left_open] {
            if (open.isNull() || !open->isVisible())
                return;
            *left_open = true;
            if (auto* modal = qobject_cast<QDialog*>(open.data()))
                modal->reject();
            else
                open->close();
        });
    });
    run();
    const bool closed = QTest::qWaitFor(
        [answered] { return *answered && QApplication::activeModalWidget() == nullptr; }, kDeadlineMs);
    return closed && !*left_open;
}

// Clicks the button and answers the dialogue it opens, as RunAndAnswer.
inline bool ClickAndAnswer(QWidget* button, std::function<void(QWidget*)> action)
{
    return RunAndAnswer([button] { QTest::mouseClick(button, Qt::LeftButton); }, std::move(action));
}

}  // namespace testsupport
