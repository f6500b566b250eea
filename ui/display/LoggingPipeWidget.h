#pragma once
// A text box fed from an element's text pipe: every 10 ms it drains the pipe into the
// box. Shares the pipe with the element; owns the box. Nothing in the application
// builds it.

#include "core/InternalPipe.h"
#include "ui/display/PipeWidgetBase.h"

#include <QTimer>
#include <boost/shared_ptr.hpp>

#include <string>

class QPlainTextEdit;

class LoggingPipeWidget : public PipeWidgetBase {
    Q_OBJECT
public:
    LoggingPipeWidget(boost::shared_ptr<ControlAndStatus> hub,
                      boost::shared_ptr<InternalPipe<std::string>> pipe, QWidget* parent);

    QPlainTextEdit* TextBox() const { return text_box_; }

protected slots:
    // Inserts every queued text at the cursor, then keeps the cursor in sight unless
    // the box has the focus (someone is reading or selecting).
    void TimerUpdate();

private:
    QPlainTextEdit* text_box_;
    boost::shared_ptr<InternalPipe<std::string>> pipe_;
    QTimer timer_;
};
