#include "core/ParameterStore.h"

#include "core/ParameterContainer.h"
#include "core/ParameterItem.h"

#include <boost/thread/lock_guard.hpp>

ParameterStore::ParameterStore() = default;

ParameterStore::~ParameterStore()
{
    boost::lock_guard<boost::recursive_mutex> lock(mutex_);
    index_.clear();
    entries_.clear();
}

void ParameterStore::AddControls(ParameterContainer& container, std::string name, const std::string& owner)
{
    boost::lock_guard<boost::recursive_mutex> lock(mutex_);
    if (name.empty())
        name = container.GetValueAsString("_setting_name");
    for (ParameterItem* item : container.GetLiveItems())
        AddItem(item, name, owner);
}

void ParameterStore::AddItem(ParameterItem* item, const std::string& name, const std::string& owner)
{
    boost::lock_guard<boost::recursive_mutex> lock(mutex_);
    const Entries::iterator entry = entries_.insert(entries_.end(), Entry{{item, name, owner}, {}});
    entry->destroyed_connection =
        item->GetDestroyedSignal().connect([this](ParameterItem* destroyed) { OnItemDestroyed(destroyed); });
    index_.emplace(item, entry);
}

void ParameterStore::RemoveControls(ParameterContainer& container)
{
    boost::lock_guard<boost::recursive_mutex> lock(mutex_);
    for (ParameterItem* item : container.GetLiveItems())
        RemoveItem(item);
}

void ParameterStore::OnItemDestroyed(ParameterItem* item)
{
    boost::lock_guard<boost::recursive_mutex> lock(mutex_);
    RemoveItem(item);
}

void ParameterStore::RemoveItem(ParameterItem* item)
{
    boost::lock_guard<boost::recursive_mutex> lock(mutex_);
    const auto range = index_.equal_range(item);
    for (auto it = range.first; it != range.second; ++it) {
        ++records_examined_;
        entries_.erase(it->second);
    }
    index_.erase(range.first, range.second);
}

unsigned long long ParameterStore::RecordsExamined()
{
    boost::lock_guard<boost::recursive_mutex> lock(mutex_);
    return records_examined_;
}

ParameterTableRow ParameterStore::MakeRow(const ParameterRecord& record)
{
    ParameterTableRow row;
    row.name = record.name;
    row.owner = record.owner;
    row.setting_name = record.item->name;
    row.value = ParameterContainer::GetConvertor(*record.item)->ToString(*record.item, -1);
    row.type_name = record.item->GetTypeName();
    return row;
}

std::vector<ParameterTableRow> ParameterStore::GetTable()
{
    boost::lock_guard<boost::recursive_mutex> lock(mutex_);
    std::vector<ParameterTableRow> table;
    for (const Entry& entry : entries_) {
        try {
            table.push_back(MakeRow(entry.record));
        } catch (...) {
            // A setting that cannot be shown (no convertor, say) is left out of the table.
        }
    }
    return table;
}
