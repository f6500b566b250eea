#include "control/ServerTask.h"

#include "control/PowerCommanderTop.h"
#include "core/ControlAndStatus.h"

const char* const ServerTask::kPrompt = "\nZuvazer: ";

ServerTask::ServerTask(boost::shared_ptr<ControlAndStatus> context, QObject* parent)
    : QObject(parent), context_(std::move(context))
{
    setAutoDelete(false);
}

void ServerTask::SetInput(const QString& input)
{
    input_ = input;
}

void ServerTask::run()
{
    emit Result(QString::fromStdString(Interpret() + kPrompt));
}

std::string ServerTask::Interpret() const
{
    try {
        PowerCommanderTop* commander = context_ ? context_->GetCommander() : nullptr;
        if (commander)
            return commander->ParseCommand(input_.toStdString());
    } catch (...) {
    }
    return "Error, command failed";
}
