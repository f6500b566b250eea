// Makes element ids: the catalogue name, "_" and the first number from 0 that no element
// of the id table has, so numbers freed by removal are reused. The id table is the table
// the new element will join (the commander's for the commander's factory); it is only
// read (it keeps each name's first free number), and the id is only reserved once the
// caller adds the element to it. Without a table (unit tests, a harness that names its
// elements itself) every number is free.
#pragma once

#include <string>

class ElementTable;

class ElementIdMaker {
public:
    explicit ElementIdMaker(const ElementTable* id_table);

    std::string MakeUniqueId(const std::string& base) const;

private:
    const ElementTable* id_table_;
};
