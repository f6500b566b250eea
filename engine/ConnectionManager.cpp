#include "engine/ConnectionManager.h"

#include "core/PathContainer.h"
#include "core/VideoFrame.h"
#include "engine/AudioFrame.h"
#include "engine/KeyPointContainer.h"
#include "engine/TypedConnector.h"

#include <algorithm>
#include <iterator>

ConnectionManager::ConnectionManager(boost::shared_ptr<ControlAndStatus> context)
    : context_(std::move(context))
{
    RegisterConnectors();
}

ConnectionManager::~ConnectionManager()
{
    StopAll();
    DisconnectAll();
}

template <typename T>
void ConnectionManager::AddConnector(std::string type_name)
{
    connectors_.push_back(
        boost::shared_ptr<TypedConnectorInterface>(new TypedConnector<T>(std::move(type_name), context_)));
}

void ConnectionManager::RegisterConnectors()
{
    AddConnector<VideoFrame>("TwoDimentionalData");
    AddConnector<KeyPointContainer>("Keypoint");
    AddConnector<PathContainer>("Path");
    AddConnector<AudioFrame>("Audio");
}

std::string ConnectionManager::Connect(boost::shared_ptr<SourceBase> source, boost::shared_ptr<SinkBase> sink,
                                       bool* success, boost::shared_ptr<ElementBase> source_element,
                                       boost::shared_ptr<ElementBase> sink_element)
{
    RecordElement(source_element);
    RecordElement(sink_element);
    if (success)
        *success = false;
    if ((source && source->IsHeld()) || (sink && sink->IsHeld()))
        return "A port is connected";
    for (const boost::shared_ptr<TypedConnectorInterface>& connector : connectors_) {
        boost::shared_ptr<LooperInterface> connection = connector->Connect(source, sink);
        if (!connection)
            continue;
        connections_.push_back(connection);
        if (success)
            *success = true;
        return "Connected Source : " + source->pad_name.Get() + " of " + source->owner_element_id.Get() +
               " To " + sink->pad_name.Get() + " of " + sink->owner_element_id.Get() + " of type " +
               connector->GetTypeName();
    }
    return "Could not connect";
}

void ConnectionManager::RecordElement(const boost::shared_ptr<ElementBase>& element)
{
    // A gone element's record keeps its own control block, so a new one never matches it.
    if (!element || !recorded_.insert(element).second)
        return;
    elements_.push_back(element);
    if (elements_.size() > 2 * kept_elements_ + 16)
        PruneElements();
}

void ConnectionManager::PruneElements()
{
    const auto gone = [](const ElementRecord& record) { return record.expired(); };
    elements_.erase(std::remove_if(elements_.begin(), elements_.end(), gone), elements_.end());
    for (auto it = recorded_.begin(); it != recorded_.end();)
        it = gone(*it) ? recorded_.erase(it) : std::next(it);
    kept_elements_ = elements_.size();
}

std::vector<boost::shared_ptr<ElementBase>> ConnectionManager::LiveElements()
{
    PruneElements();
    std::vector<boost::shared_ptr<ElementBase>> live;
    for (const ElementRecord& record : elements_) {
        if (boost::shared_ptr<ElementBase> element = record.lock())
            live.push_back(element);
    }
    return live;
}

void ConnectionManager::StartAll()
{
    StopConnections();
    PrepareAll();
    for (const boost::shared_ptr<LooperInterface>& connection : connections_)
        connection->Start();
    for (const boost::shared_ptr<ElementBase>& element : LiveElements())
        element->Start();
}

void ConnectionManager::PrepareAll()
{
    for (const boost::shared_ptr<LooperInterface>& connection : connections_)
        connection->ResetPads();
    for (const boost::shared_ptr<ElementBase>& element : LiveElements())
        element->Reset();
}

void ConnectionManager::StopConnections()
{
    for (const boost::shared_ptr<LooperInterface>& connection : connections_)
        connection->Stop();
}

void ConnectionManager::StopAll()
{
    StopConnections();
    for (const boost::shared_ptr<ElementBase>& element : LiveElements())
        element->Stop();
}

void ConnectionManager::SetPaused(bool paused)
{
    for (const boost::shared_ptr<LooperInterface>& connection : connections_)
        connection->Pause(paused);
    for (const boost::shared_ptr<ElementBase>& element : LiveElements())
        element->Pause(paused);
    paused_.Set(paused);
}

void ConnectionManager::StepAll()
{
    for (const boost::shared_ptr<LooperInterface>& connection : connections_)
        connection->Step();
    for (const boost::shared_ptr<ElementBase>& element : LiveElements())
        element->Step();
    paused_.Set(true);
}

void ConnectionManager::LogAll()
{
    for (const boost::shared_ptr<LooperInterface>& connection : connections_)
        connection->PrintStatus(true);
}

void ConnectionManager::SetLogEverything(bool log_everything)
{
    for (const boost::shared_ptr<LooperInterface>& connection : connections_)
        connection->SetLogEverything(log_everything);
}

void ConnectionManager::DisconnectAll()
{
    // Destroy one at a time, in order, each joined before the next goes.
    while (!connections_.empty())
        connections_.erase(connections_.begin());
    paused_.Set(false);
}

void ConnectionManager::DisconnectElement(std::string element_id)
{
    for (auto it = connections_.begin(); it != connections_.end();) {
        if ((*it)->Involves(element_id))
            it = connections_.erase(it);
        else
            ++it;
    }
}

void ConnectionManager::DisconnectPair(std::string first_id, std::string second_id)
{
    for (auto it = connections_.begin(); it != connections_.end();) {
        if ((*it)->Involves(first_id) && (*it)->Involves(second_id))
            it = connections_.erase(it);
        else
            ++it;
    }
}
