// The live register of the settings of one element table's elements, for the variable
// table. It points at settings it does not own; a setting's record leaves when the
// setting announces its destruction, or earlier when its owner is removed (RemoveControls),
// and takes its connection to the setting's destroyed signal with it. Records are indexed
// by item, so removing one costs the same however many there are.
// Every operation holds the store's recursive mutex for its whole run, and that mutex is
// always taken before any variable's mutex: never call the store, or destroy a setting,
// while holding a variable's lock.
#pragma once

#include "core/ParameterRecord.h"
#include "core/ParameterTableRow.h"

#include <boost/signals2/connection.hpp>
#include <boost/thread/recursive_mutex.hpp>

#include <list>
#include <string>
#include <unordered_map>
#include <vector>

class ParameterContainer;
class ParameterItem;

class ParameterStore {
public:
    ParameterStore();
    // Disconnects from every setting first, so no destroyed signal reaches a dead store.
    ~ParameterStore();
    ParameterStore(const ParameterStore&) = delete;
    ParameterStore& operator=(const ParameterStore&) = delete;

    // Registers every setting of the container in its order; an empty name stands for
    // the container's "_setting_name" value.
    void AddControls(ParameterContainer& container, std::string name, const std::string& owner);
    // Appends the record and listens for the setting's destruction.
    void AddItem(ParameterItem* item, const std::string& name, const std::string& owner);
    // Drops the records of every setting of the container. Called while the settings'
    // variables still live, so a table built meanwhile never reads freed memory.
    void RemoveControls(ParameterContainer& container);

    // Slot of a setting's destroyed signal, on whichever thread destroys it.
    void OnItemDestroyed(ParameterItem* item);
    // Erases every record of the item, keeping the others in order.
    void RemoveItem(ParameterItem* item);

    // One row per record in record order, each value as text (precision -1). A record
    // whose row cannot be built (no convertor, for example) is left out.
    std::vector<ParameterTableRow> GetTable();

    // Records looked at by removals so far: for tests that check how the work grows.
    unsigned long long RecordsExamined();

private:
    struct Entry {
        ParameterRecord record;
        boost::signals2::scoped_connection destroyed_connection;
    };
    using Entries = std::list<Entry>;

    static ParameterTableRow MakeRow(const ParameterRecord& record);

    boost::recursive_mutex mutex_;  // guards entries_, index_ and the count
    Entries entries_;               // in registration order
    std::unordered_multimap<ParameterItem*, Entries::iterator> index_;
    unsigned long long records_examined_ = 0;
};
