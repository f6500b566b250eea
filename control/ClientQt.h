// One connected TCP client of the command front end: greets it, cuts what it sends into
// command lines, runs each through a ServerTask on the GUI thread and writes each reply
// back in order. It answers a line only when the server's ClientTurns gives it the turn,
// one line at a time, so a flooding peer or one with costly lines holds up the window and
// the other clients by one line at most; a turn cuts at most kReadBytesPerTurn bytes.
// A child of the server; it owns its socket and its pending tasks, and frees itself once
// its peer has disconnected. A peer that lets more than kMaxUnsentBytes of replies pile up
// unread, or more than kMaxUnansweredBytes of lines wait for an answer, is disconnected.
#pragma once

#include "control/CommandLineBuffer.h"

#include <QObject>
#include <QString>

#include <boost/shared_ptr.hpp>

#include <deque>

class ClientTurns;
class ControlAndStatus;
class QTcpSocket;

class ClientQt : public QObject {
    Q_OBJECT
public:
    // turns must outlive the client.
    ClientQt(boost::shared_ptr<ControlAndStatus> context, ClientTurns& turns, QObject* parent);
    ~ClientQt() override;

    // Adopts the accepted connection and greets the peer; false when the descriptor is
    // refused (the client then frees itself).
    bool SetSocket(qintptr descriptor);

    static QString Greeting();

    static constexpr qint64 kMaxUnsentBytes = 8 * 1024 * 1024;
    static constexpr qint64 kMaxUnansweredBytes = 1024 * 1024;
    static constexpr qint64 kReadBytesPerTurn = 64 * 1024;

    // Answers the next waiting line, if any: the client's turn. True while more lines (or
    // unread bytes) wait.
    bool AnswerOneLine();

public slots:
    void ParseInput(QString input);
    void Connected();
    void Disconnected();
    void ReadyRead();
    void TaskResult(QString result);

private:
    void Write(const QString& text);
    void Answer(const CommandLineBuffer::Line& line);
    void ReadSomeLines();
    bool HasMore() const;
    void DropWaitingLines();

    QTcpSocket* socket_ = nullptr;  // child of this client
    boost::shared_ptr<ControlAndStatus> context_;
    ClientTurns& turns_;
    CommandLineBuffer lines_;
    std::deque<CommandLineBuffer::Line> waiting_;  // cut, not yet answered
    qint64 waiting_bytes_ = 0;                     // their bytes, line feeds included
};
