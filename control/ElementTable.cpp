#include "control/ElementTable.h"

#include "core/CustomException.h"
#include "engine/ConnectionManager.h"
#include "engine/ElementBase.h"

#include <boost/optional.hpp>

#include <algorithm>
#include <cctype>

namespace {

// Longest number part read back from an id; longer ones are never made.
constexpr std::size_t kMaxNumberDigits = 19;

struct Numbered {
    std::string base;
    unsigned long long number;
};

// The base and number of an id of the made form; none for any other id (no "_", no
// digits after the last one, or a leading zero, which no made id has).
boost::optional<Numbered> SplitNumberedId(const std::string& id)
{
    const std::size_t underscore = id.rfind('_');
    if (underscore == std::string::npos)
        return boost::none;
    const std::string digits = id.substr(underscore + 1);
    if (digits.empty() || digits.size() > kMaxNumberDigits || (digits[0] == '0' && digits.size() > 1))
        return boost::none;
    for (char c : digits)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return boost::none;
    return Numbered{id.substr(0, underscore), std::stoull(digits)};
}

}  // namespace

ElementTable::ElementTable(ConnectionManager& connections) : connections_(connections) {}

ElementTable::~ElementTable()
{
    Clear();
}

void ElementTable::AddElement(boost::shared_ptr<ElementBase> element)
{
    elements_.push_back(element);
    const std::string id = element->GetId();
    by_id_[id].push_back(element);
    NoteIdTaken(id);
    const std::string type = element->GetType();
    parameter_store_.AddControls(element->settings, id, type);
    if (element->controls)
        parameter_store_.AddControls(element->controls->settings, id, type);
}

bool ElementTable::Exists(const std::string& id) const
{
    ++id_lookups_;
    return by_id_.count(id) != 0;
}

std::string ElementTable::NumberedId(const std::string& base, unsigned long long number)
{
    return base + "_" + std::to_string(number);
}

unsigned long long ElementTable::FirstFreeNumber(const std::string& base) const
{
    const auto found = first_free_.find(base);
    return found == first_free_.end() ? 0 : found->second;
}

void ElementTable::NoteIdTaken(const std::string& id)
{
    const boost::optional<Numbered> numbered = SplitNumberedId(id);
    if (!numbered)
        return;
    unsigned long long& first_free = first_free_[numbered->base];
    if (numbered->number != first_free)
        return;
    while (Exists(NumberedId(numbered->base, first_free)))
        ++first_free;
}

void ElementTable::NoteIdFreed(const std::string& id)
{
    const boost::optional<Numbered> numbered = SplitNumberedId(id);
    if (!numbered)
        return;
    const auto found = first_free_.find(numbered->base);
    if (found != first_free_.end() && numbered->number < found->second)
        found->second = numbered->number;
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

std::size_t ElementTable::Count() const
{
    return elements_.size();
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
    NoteIdFreed(id);
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
    first_free_.clear();
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
            ++outputs_visited_;
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

std::unordered_map<std::string, std::vector<ConnectionRecord>> ElementTable::GetConnectionsByElement() const
{
    std::unordered_map<std::string, std::vector<ConnectionRecord>> by_element;
    for (const ConnectionRecord& record : GetAllConnections()) {
        by_element[record.source_element].push_back(record);
        if (record.sink_element != record.source_element)
            by_element[record.sink_element].push_back(record);
    }
    return by_element;
}

ParameterStore& ElementTable::GetParameterStore()
{
    return parameter_store_;
}
