#include "control/ClientTurns.h"

#include "control/ClientQt.h"

#include <QElapsedTimer>

#include <algorithm>
#include <utility>

ClientTurns::ClientTurns(QObject* parent) : QObject(parent) {}

void ClientTurns::Wait(ClientQt* client)
{
    Account& account = accounts_[client];
    if (!account.waiting) {
        account.waiting = true;
        account.served_ns = std::max(account.served_ns, floor_ns_);
    }
    SchedulePass();
}

void ClientTurns::Leave(ClientQt* client)
{
    accounts_.erase(client);
}

void ClientTurns::SchedulePass()
{
    if (pass_scheduled_)
        return;
    pass_scheduled_ = true;
    QMetaObject::invokeMethod(
        this, [this] { Settle(); }, Qt::QueuedConnection);
}

void ClientTurns::Settle()
{
    // The loop reads the sockets after the events posted before the read, so the line is
    // chosen one pass later: by then, what arrived during the last line has been read.
    QMetaObject::invokeMethod(
        this, [this] { AnswerOneLine(); }, Qt::QueuedConnection);
}

void ClientTurns::AnswerOneLine()
{
    pass_scheduled_ = false;
    ClientQt* client = LeastServedWaiting();
    if (client == nullptr)
        return;
    floor_ns_ = accounts_[client].served_ns;
    QElapsedTimer line;
    line.start();
    const bool more = client->AnswerOneLine();
    // The answer may have dropped the client, but it goes only later.
    const auto found = accounts_.find(client);
    if (found != accounts_.end()) {
        found->second.last_line_ns = std::max(line.nsecsElapsed(), kLeastLineNanoseconds);
        found->second.served_ns += found->second.last_line_ns;
        found->second.waiting = more;
    }
    if (LeastServedWaiting() != nullptr)
        SchedulePass();
}

ClientQt* ClientTurns::LeastServedWaiting()
{
    ClientQt* least = nullptr;
    std::pair<qint64, qint64> least_key;
    for (const auto& entry : accounts_) {
        const std::pair<qint64, qint64> key(entry.second.served_ns, entry.second.last_line_ns);
        if (entry.second.waiting && (least == nullptr || key < least_key)) {
            least = entry.first;
            least_key = key;
        }
    }
    return least;
}
