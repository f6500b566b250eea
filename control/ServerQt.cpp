#include "control/ServerQt.h"

#include "control/ClientQt.h"
#include "core/FILELog.h"

ServerQt::ServerQt(boost::shared_ptr<ControlAndStatus> context, QObject* parent)
    : QTcpServer(parent), context_(std::move(context))
{
}

ServerQt::~ServerQt()
{
    qDeleteAll(findChildren<ClientQt*>(QString(), Qt::FindDirectChildrenOnly));
}

void ServerQt::incomingConnection(qintptr descriptor)
{
    FILE_LOG(logINFO) << "Incomming connections: Handle " << descriptor;
    ClientQt* client = new ClientQt(context_, turns_, this);
    client->SetSocket(descriptor);
}
