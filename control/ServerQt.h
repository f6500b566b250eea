// The TCP server of the command front end. The application makes it but does not make it
// listen; whoever calls listen() chooses the address and port. Each accepted connection
// becomes a ClientQt child of the server.
#pragma once

#include <QTcpServer>

#include <boost/shared_ptr.hpp>

class ControlAndStatus;

class ServerQt : public QTcpServer {
    Q_OBJECT
public:
    ServerQt(boost::shared_ptr<ControlAndStatus> context, QObject* parent);

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    boost::shared_ptr<ControlAndStatus> context_;
};
