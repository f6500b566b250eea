#include "control/ClientQt.h"

#include "control/ClientTurns.h"
#include "control/ServerTask.h"
#include "core/FILELog.h"

#include <QTcpSocket>

ClientQt::ClientQt(boost::shared_ptr<ControlAndStatus> context, ClientTurns& turns, QObject* parent)
    : QObject(parent), context_(std::move(context)), turns_(turns)
{
}

ClientQt::~ClientQt()
{
    turns_.Leave(this);
}

bool ClientQt::SetSocket(qintptr descriptor)
{
    socket_ = new QTcpSocket(this);
    connect(socket_, SIGNAL(connected()), this, SLOT(Connected()));
    connect(socket_, SIGNAL(disconnected()), this, SLOT(Disconnected()));
    connect(socket_, SIGNAL(readyRead()), this, SLOT(ReadyRead()));
    if (!socket_->setSocketDescriptor(descriptor, QAbstractSocket::ConnectedState, QIODevice::ReadWrite)) {
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
    // Unread bytes stay in the socket; they count as unanswered all the same.
    if (waiting_bytes_ + socket_->bytesAvailable() > kMaxUnansweredBytes) {
        FILE_LOG(logINFO) << "Dropped a client that sends more than it is answered";
        DropWaitingLines();
        socket_->abort();
        return;
    }
    if (HasMore())
        turns_.Wait(this);
}

bool ClientQt::HasMore() const
{
    return !waiting_.empty() || socket_->bytesAvailable() > 0;
}

void ClientQt::ReadSomeLines()
{
    for (CommandLineBuffer::Line& line : lines_.Append(socket_->read(kReadBytesPerTurn))) {
        waiting_bytes_ += line.text.size() + 1;
        waiting_.push_back(std::move(line));
    }
}

bool ClientQt::AnswerOneLine()
{
    // Gone or dropped for not reading its replies: the rest go unanswered.
    if (!socket_ || socket_->state() != QAbstractSocket::ConnectedState) {
        DropWaitingLines();
        return false;
    }
    if (waiting_.empty())
        ReadSomeLines();
    if (!waiting_.empty()) {
        const CommandLineBuffer::Line line = std::move(waiting_.front());
        waiting_.pop_front();
        waiting_bytes_ -= line.text.size() + 1;
        Answer(line);
    }
    return socket_->state() == QAbstractSocket::ConnectedState && HasMore();
}

void ClientQt::DropWaitingLines()
{
    waiting_.clear();
    waiting_bytes_ = 0;
}

void ClientQt::Answer(const CommandLineBuffer::Line& line)
{
    if (line.too_long) {
        FILE_LOG(logINFO) << "Dropped a command line longer than " << CommandLineBuffer::kMaxLineBytes
                          << " bytes";
        Write(QString("Error, command failed") + ServerTask::kPrompt);
        return;
    }
    const QString input = QString::fromUtf8(line.text);
    FILE_LOG(logDEBUG) << "Recieved data : " << input.toStdString();
    ParseInput(input);
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
