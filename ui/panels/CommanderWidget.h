#pragma once
// A command box: the line typed in it (Enter sends it) goes to the commander's command
// interpreter, and the reply is added to the text box below. Shares the hub, through
// which it reaches the commander. Nothing in the application builds it.

#include <boost/shared_ptr.hpp>

#include <QWidget>

class ControlAndStatus;
class QLineEdit;
class QPlainTextEdit;

class CommanderWidget : public QWidget {
    Q_OBJECT
public:
    CommanderWidget(boost::shared_ptr<ControlAndStatus> hub, QWidget* parent = nullptr);

    QLineEdit* CommandLine() const { return line_; }
    QPlainTextEdit* TextBox() const { return text_box_; }

public slots:
    // Sends the line, shows the reply, clears the line; nothing while no commander is set.
    void CallCommand();
    // Runs "help".
    void StartFunction();
    void UpdateSettingsInBackend();

private:
    boost::shared_ptr<ControlAndStatus> hub_;
    QLineEdit* line_;
    QPlainTextEdit* text_box_;
};
