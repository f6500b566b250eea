#include "control/ClientQt.h"

#include "control/ServerTask.h"
#include "core/FILELog.h"

#include <QTcpSocket>

ClientQt::ClientQt(boost::shared_ptr<ControlAndStatus> context, QObject* parent)
    : QObject(parent), context_(std::move(context))
{
}

ClientQt::~ClientQt() = default;

bool ClientQt::SetSocket(qintptr descriptor)
{
    socket_ = new QTcpSocket(this);
    connect(socket_, SIGNAL(connected()), this, SLOT(Connected()));
    connect(socket_, SIGNAL(disconnected()), this, SLOT(Disconnected()));
    connect(socket_, SIGNAL(readyRead()), this, SLOT(ReadyRead()));
    if (!socket_->setSocketDescriptor(descriptor, QAbstractSocket::ConnectedState,
                                      QIODevice::ReadWrite)) {
        FILE_LOG(logERROR) << "Could not take the client connection";
        deleteLater();
        return false;
    }
    FILE_LOG(logINFO) << "client connected";
    FILE_LOG(logINFO) << "client connected event";
    Write(Greeting());
    return true;
}

QString ClientQt::Greeting()
{
    return QStringLiteral("Orvane V0.1\nType help\nOrvane: ");
}

void ClientQt::Connected()
{
    FILE_LOG(logINFO) << "client connected event";
    Write(Greeting());
}

void ClientQt::Disconnected()
{
    FILE_LOG(logINFO) << "client disconnected";
    deleteLater();
}

void ClientQt::ReadyRead()
{
    for (const CommandLineBuffer::Line& line : lines_.Append(socket_->readAll())) {
        // Gone or dropped for not reading its replies: the rest go unanswered.
        if (socket_->state() != QAbstractSocket::ConnectedState)
            return;
        if (line.too_long) {
            FILE_LOG(logINFO) << "Dropped a command line longer than "
                              << CommandLineBuffer::kMaxLineBytes << " bytes";
            Write(QString("Error, command failed") + ServerTask::kPrompt);
            continue;
        }
        const QString input = QString::fromUtf8(line.text);
        FILE_LOG(logDEBUG) << "Recieved data : " << input.toStdString();
        ParseInput(input);
    }
}

void ClientQt::ParseInput(QString input)
{
    FILE_LOG(logDEBUG) << "Parsing data : " << input.toStdString();
    ServerTask* task = new ServerTask(context_, this);
    task->SetInput(input);
    connect(task, SIGNAL(Result(QString)), this, SLOT(TaskResult(QString)), Qt::QueuedConnection);
    // Queued after the result, so the task goes once its reply has been written.
    connect(task, SIGNAL(Result(QString)), task, SLOT(deleteLater()), Qt::QueuedConnection);
    task->run();
}

void ClientQt::TaskResult(QString result)
{
    Write(result);
}

void ClientQt::Write(const QString& text)
{
    if (!socket_ || socket_->state() != QAbstractSocket::ConnectedState)
        return;
    socket_->write(text.toUtf8());
    if (socket_->bytesToWrite() > kMaxUnsentBytes) {
        FILE_LOG(logINFO) << "Dropped a client that does not read its replies";
        socket_->abort();
    }
}
