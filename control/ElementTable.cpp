#include "control/ElementTable.h"

#include "core/CustomException.h"
#include "engine/ConnectionManager.h"
#include "engine/ElementBase.h"

#include <algorithm>

ElementTable::ElementTable(ConnectionManager& connections) : connections_(connections) {}

ElementTable::~ElementTable()
{
    Clear();
}

void ElementTable::AddElement(boost::shared_ptr<ElementBase> element)
{
    elements_.push_back(element);
    by_id_[element->GetId()].push_back(element);
    const std::string id = element->GetId();
    const std::string type = element->GetType();
    parameter_store_.AddControls(element->settings, id, type);
    if (element->controls)
        parameter_store_.AddControls(element->controls->settings, id, type);
}

bool ElementTable::Exists(const std::string& id) const
{
    return by_id_.count(id) != 0;
}

boost::shared_ptr<ElementBase> ElementTable::FindElement(const std::string& id) const
{
    const auto found = by_id_.find(id);
    if (found == by_id_.end())
        throw CustomException("Element could not be found : " + id);
    return found->second.front();
}

std::vector<boost::shared_ptr<ElementBase>> ElementTable::GetElements() const
{
    return elements_;
}

std::vector<std::string> ElementTable::GetIds() const
{
    std::vector<std::string> ids;
    for (const boost::shared_ptr<ElementBase>& element : elements_)
        ids.push_back(element->GetId());
    return ids;
}

void ElementTable::Detach(ElementBase& element)
{
    connections_.DisconnectElement(element.GetId());
    parameter_store_.RemoveControls(element.settings);
    if (element.controls)
        parameter_store_.RemoveControls(element.controls->settings);
}

void ElementTable::RemoveElement(const std::string& id)
{
    const auto found = by_id_.find(id);
    if (found == by_id_.end())
        return;
    std::vector<boost::shared_ptr<ElementBase>> removed;
    removed.swap(found->second);
    by_id_.erase(found);
    for (const boost::shared_ptr<ElementBase>& element : removed)
        Detach(*element);
    elements_.erase(std::remove_if(elements_.begin(), elements_.end(),
                                   [&id](const boost::shared_ptr<ElementBase>& element) {
                                       return element->GetId() == id;
                                   }),
                    elements_.end());
    // The removed elements go here, after the table is consistent again.
}

void ElementTable::Clear()
{
    for (const boost::shared_ptr<ElementBase>& element : elements_)
        Detach(*element);
    std::vector<boost::shared_ptr<ElementBase>> removed;
    removed.swap(elements_);
    by_id_.clear();
}

std::string ElementTable::ListElements() const
{
    std::string text = "Elements:";
    for (const boost::shared_ptr<ElementBase>& element : elements_)
        text += element->GetId() + "\n";
    return text;
}

std::string ElementTable::ListSettings() const
{
    std::string text = "Elements: ";
    for (const boost::shared_ptr<ElementBase>& element : elements_) {
        text += element->GetId() + "\n";
        if (element->controls)
            text += element->controls->settings.ToString();
        text += "\n";
    }
    return text;
}

std::string ElementTable::ListConnections() const
{
    std::string text = "___ CONNECTIONS ____\n";
    for (const boost::shared_ptr<ElementBase>& element : elements_) {
        for (const boost::shared_ptr<SourceBase>& output : element->GetOutputs()) {
            if (output->IsConnected())
                text += output->owner_element_id.Get() + " --> " + output->peer_element_id.Get() + "\n";
        }
    }
    return text;
}

ConnectionRecord ElementTable::MakeRecord(PadBase& output) const
{
    ConnectionRecord record;
    record.source_element = output.owner_element_id.Get();
    record.source_name = output.pad_name.Get();
    const boost::shared_ptr<ElementBase> sink = FindElement(output.peer_element_id.Get());
    record.sink_element = sink->GetId();
    const std::string peer_pad = output.peer_pad_name.Get();
    const std::string type_name = output.GetTypeName();
    for (const boost::shared_ptr<SinkBase>& input : sink->GetInputs()) {
        if (input->IsConnected() && input->pad_name.Get() == peer_pad &&
            input->peer_element_id.Get() == record.source_element && input->GetTypeName() == type_name) {
            record.sink_name = peer_pad;
            break;
        }
    }
    return record;
}

std::vector<ConnectionRecord> ElementTable::GetAllConnections() const
{
    std::vector<ConnectionRecord> records;
    for (const boost::shared_ptr<ElementBase>& element : elements_) {
        for (const boost::shared_ptr<SourceBase>& output : element->GetOutputs()) {
            if (!output->IsConnected())
                continue;
            try {
                records.push_back(MakeRecord(*output));
            } catch (...) {
                // A link to an element outside the table has no record.
            }
        }
    }
    return records;
}

std::vector<ConnectionRecord> ElementTable::GetConnections(const std::string& id) const
{
    std::vector<ConnectionRecord> records;
    for (const ConnectionRecord& record : GetAllConnections()) {
        if (record.source_element == id || record.sink_element == id)
            records.push_back(record);
    }
    return records;
}

ParameterStore& ElementTable::GetParameterStore()
{
    return parameter_store_;
}
