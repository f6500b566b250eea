// Takes turns between the TCP clients of one server: one command line per pass of the
// event loop for all of them together, with a pass between two lines in which the loop
// reads every socket, so a line that arrived meanwhile is known before the next is chosen.
// The next line is the next one of the waiting client whose lines have cost the least time
// so far; a client that starts waiting is counted from where the last chosen client stood,
// so an idle client banks no credit, and of two that stand level the one whose last line
// was cheaper goes first. A client with cheap lines is thus answered before the next line
// of a client with costly ones, whoever they are, and waits behind at most the line that
// was running when its own arrived. Owned by the server; it knows its clients
// only while they are alive.
#pragma once

#include <QObject>

#include <unordered_map>

class ClientQt;

class ClientTurns : public QObject {
public:
    explicit ClientTurns(QObject* parent = nullptr);

    // The client has lines to answer (or bytes to cut into lines).
    void Wait(ClientQt* client);
    // The client is going; it is never asked again.
    void Leave(ClientQt* client);

    // Every line counts at least this much, so lines too quick to time still take turns.
    static constexpr qint64 kLeastLineNanoseconds = 1000;

private:
    struct Account {
        qint64 served_ns = 0;     // time its lines have taken
        qint64 last_line_ns = 0;  // time its last line took
        bool waiting = false;
    };

    void SchedulePass();
    // Lets the loop read the sockets once, then answers one line.
    void Settle();
    void AnswerOneLine();
    ClientQt* LeastServedWaiting();

    std::unordered_map<ClientQt*, Account> accounts_;
    qint64 floor_ns_ = 0;  // where the last chosen client stood when chosen
    bool pass_scheduled_ = false;
};
