// One command line of a TCP client: runs it through the commander's interpreter and
// emits the reply with the prompt. Made by the client, which runs it on the GUI thread
// and owns it (as its Qt parent) until its result has been delivered.
#pragma once

#include <QObject>
#include <QRunnable>
#include <QString>

#include <boost/shared_ptr.hpp>

class ControlAndStatus;

class ServerTask : public QObject, public QRunnable {
    Q_OBJECT
public:
    ServerTask(boost::shared_ptr<ControlAndStatus> context, QObject* parent);

    void SetInput(const QString& input);

    // Never throws: without a commander, or when the interpreter fails, the reply is
    // "Error, command failed".
    void run() override;

    static const char* const kPrompt;

signals:
    void Result(QString result);

private:
    std::string Interpret() const;

    boost::shared_ptr<ControlAndStatus> context_;
    QString input_;
};
