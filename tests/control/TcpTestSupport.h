#pragma once
// Qt event-loop helpers for the TCP front end tests: one QCoreApplication for the test
// program, waiting on a condition while the loop runs (the deadline guards against a
// hang only), and a client session that collects what the server sends.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QHostAddress>
#include <QTcpSocket>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "test";
        static char* argv[] = {name, nullptr};
        app_ = new QCoreApplication(argc, argv);
    }
    void TearDown() override { delete app_; }

private:
    QCoreApplication* app_ = nullptr;
};

// Runs the event loop until the condition holds; false when the deadline passed first.
inline bool PumpUntil(const std::function<bool()>& condition, int deadline_ms = 20000)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.hasExpired(deadline_ms))
            return false;
        QEventLoop loop;
        QTimer::singleShot(2, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

// Runs the event loop for a number of short turns, to let the server act on what it got.
inline void PumpTurns(int turns)
{
    for (int i = 0; i < turns; ++i) {
        QEventLoop loop;
        QTimer::singleShot(2, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

class Session {
public:
    explicit Session(quint16 port)
    {
        QObject::connect(&socket, &QTcpSocket::readyRead, [this] { received += socket.readAll(); });
        socket.connectToHost(QHostAddress::LocalHost, port);
    }

    bool WaitConnected()
    {
        return PumpUntil([this] { return socket.state() == QAbstractSocket::ConnectedState; });
    }

    void Send(const QByteArray& data)
    {
        socket.write(data);
        socket.flush();
    }

    // Waits until count prompts have arrived after the greeting.
    bool WaitForPrompts(int count)
    {
        return PumpUntil([this, count] { return received.count("\nZuvazer: ") >= count; });
    }

    // What came after the greeting.
    QByteArray Replies() const { return received.mid(received.indexOf("Orvane: ") + 8); }

    QTcpSocket socket;
    QByteArray received;
};
