// One connected TCP client of the command front end: greets it, cuts what it sends into
// command lines, runs each through a ServerTask on the GUI thread and writes each reply
// back in order. A child of the server; it owns its socket and its pending tasks, and
// frees itself once its peer has disconnected. A peer that lets more than
// kMaxUnsentBytes of replies pile up unread is disconnected.
#pragma once

#include "control/CommandLineBuffer.h"

#include <QObject>
#include <QString>

#include <boost/shared_ptr.hpp>

class ControlAndStatus;
class QTcpSocket;

class ClientQt : public QObject {
    Q_OBJECT
public:
    ClientQt(boost::shared_ptr<ControlAndStatus> context, QObject* parent);
    ~ClientQt() override;

    // Adopts the accepted connection and greets the peer; false when the descriptor is
    // refused (the client then frees itself).
    bool SetSocket(qintptr descriptor);

    static QString Greeting();

    static constexpr qint64 kMaxUnsentBytes = 8 * 1024 * 1024;

public slots:
    void ParseInput(QString input);
    void Connected();
    void Disconnected();
    void ReadyRead();
    void TaskResult(QString result);

private:
    void Write(const QString& text);

    QTcpSocket* socket_ = nullptr;  // child of this client
    boost::shared_ptr<ControlAndStatus> context_;
    CommandLineBuffer lines_;
};
