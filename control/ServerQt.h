// The TCP server of the command front end. The application makes it but does not make it
// listen; whoever calls listen() chooses the address and port. Each accepted connection
// becomes a ClientQt child of the server; the server's ClientTurns shares out the turns
// between them.
#pragma once

#include "control/ClientTurns.h"

#include <QTcpServer>

#include <boost/shared_ptr.hpp>

class ControlAndStatus;

class ServerQt : public QTcpServer {
    Q_OBJECT
public:
    ServerQt(boost::shared_ptr<ControlAndStatus> context, QObject* parent);
    // Its clients go before the turns they take part in.
    ~ServerQt() override;

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    boost::shared_ptr<ControlAndStatus> context_;
    ClientTurns turns_;
};
