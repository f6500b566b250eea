// The elements that exist, in insertion order and indexed by id, with the parameter store
// of their live settings. The table owns its elements (shared pointers) and its store. An element's
// settings leave the store before the table lets the element go, so a variable table
// read meanwhile never reaches freed variables. No lock: one thread uses a table (the
// GUI thread for the commander's, the test thread for an element tester's). Removing an
// element, by whatever path, first destroys its connections in the connection manager
// the table is built with, so no connection thread runs on an element that has gone.
#pragma once

#include "control/ConnectionRecord.h"
#include "core/ParameterStore.h"

#include <boost/shared_ptr.hpp>

#include <string>
#include <unordered_map>
#include <vector>

class ConnectionManager;
class ElementBase;
class PadBase;

class ElementTable {
public:
    // connections must outlive the table: it holds the connections between its elements.
    explicit ElementTable(ConnectionManager& connections);
    // Removes every element as Clear does.
    ~ElementTable();
    ElementTable(const ElementTable&) = delete;
    ElementTable& operator=(const ElementTable&) = delete;

    // Appends the element (no id check) and registers its own settings and those of its
    // controls object, named by its id and owned by its type.
    void AddElement(boost::shared_ptr<ElementBase> element);

    // Ids are compared exactly.
    bool Exists(const std::string& id) const;
    // base + "_" + number in decimal: the form of a made id.
    static std::string NumberedId(const std::string& base, unsigned long long number);
    // The lowest number from 0 whose numbered id of base no element of the table has.
    unsigned long long FirstFreeNumber(const std::string& base) const;
    // The first element with the id; throws CustomException
    // "Element could not be found : " + id when there is none.
    boost::shared_ptr<ElementBase> FindElement(const std::string& id) const;
    std::vector<boost::shared_ptr<ElementBase>> GetElements() const;
    std::vector<std::string> GetIds() const;
    // How many elements the table holds.
    std::size_t Count() const;

    // Disconnects, then removes every element with the id; an absent id does nothing.
    void RemoveElement(const std::string& id);
    // Disconnects, then removes every element.
    void Clear();

    // "Elements:" then each id and "\n".
    std::string ListElements() const;
    // "Elements: " then per element its id, "\n", its controls object's settings text
    // and "\n".
    std::string ListSettings() const;
    // "___ CONNECTIONS ____\n" then one "<source id> --> <sink id>\n" per connected output.
    std::string ListConnections() const;

    // One record per connected output pad, in table and pad order; a link whose sink is
    // not in the table is left out.
    std::vector<ConnectionRecord> GetAllConnections() const;
    // The records in which the element is source or sink.
    std::vector<ConnectionRecord> GetConnections(const std::string& id) const;
    // GetConnections of every id of the table, from one walk: for callers that want them
    // all (a save), which asking per id would make quadratic.
    std::unordered_map<std::string, std::vector<ConnectionRecord>> GetConnectionsByElement() const;

    ParameterStore& GetParameterStore();

    // Work done so far, for tests that check how it grows: ids looked up (Exists) and
    // output pads visited by walks over the connections.
    unsigned long long IdLookups() const { return id_lookups_; }
    unsigned long long OutputsVisited() const { return outputs_visited_; }

private:
    // Destroys the element's connections and drops its settings from the store; the
    // element itself is untouched.
    void Detach(ElementBase& element);
    ConnectionRecord MakeRecord(PadBase& output) const;
    // Keep first_free_ right as an id joins or leaves the table.
    void NoteIdTaken(const std::string& id);
    void NoteIdFreed(const std::string& id);

    ConnectionManager& connections_;
    std::vector<boost::shared_ptr<ElementBase>> elements_;
    // The elements of each id, in table order; ids are set before an element joins.
    std::unordered_map<std::string, std::vector<boost::shared_ptr<ElementBase>>> by_id_;
    // For each base name of the numbered ids in the table, its lowest free number (absent:
    // 0), so that making an id does not try every taken number first.
    std::unordered_map<std::string, unsigned long long> first_free_;
    ParameterStore parameter_store_;
    mutable unsigned long long id_lookups_ = 0;
    mutable unsigned long long outputs_visited_ = 0;
};
