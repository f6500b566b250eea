#include "core/ParameterStore.h"

#include "core/ParameterContainer.h"
#include "core/ParameterItem.h"

#include <boost/thread/lock_guard.hpp>

#include <algorithm>

ParameterStore::ParameterStore() = default;

ParameterStore::~ParameterStore()
{
    boost::lock_guard<boost::recursive_mutex> lock(mutex_);
    connections_.clear();
    records_.clear();
}

std::vector<ParameterItem*> ParameterStore::LiveItems(ParameterContainer& container)
{
    std::vector<ParameterItem*> items;
    for (const ParameterItem& copy : container.GetItems())
        items.push_back(&container.FindItem(copy.name));
    return items;
}

void ParameterStore::AddControls(ParameterContainer& container, std::string name,
                                 const std::string& owner)
{
    boost::lock_guard<boost::recursive_mutex> lock(mutex_);
    if (name.empty())
        name = container.GetValueAsString("_setting_name");
    for (ParameterItem* item : LiveItems(container))
        AddItem(item, name, owner);
}

void ParameterStore::AddItem(ParameterItem* item, const std::string& name,
                             const std::string& owner)
{
    boost::lock_guard<boost::recursive_mutex> lock(mutex_);
    records_.push_back(ParameterRecord{item, name, owner});
    connections_.emplace_back(item->GetDestroyedSignal().connect(
        [this](ParameterItem* destroyed) { OnItemDestroyed(destroyed); }));
}

void ParameterStore::RemoveControls(ParameterContainer& container)
{
    boost::lock_guard<boost::recursive_mutex> lock(mutex_);
    for (ParameterItem* item : LiveItems(container))
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
    records_.erase(std::remove_if(records_.begin(), records_.end(),
                                  [item](const ParameterRecord& record) {
                                      return record.item == item;
                                  }),
                   records_.end());
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
    for (const ParameterRecord& record : records_) {
        try {
            table.push_back(MakeRow(record));
        } catch (...) {
            // A setting that cannot be shown (no convertor, say) is left out of the table.
        }
    }
    return table;
}
