// Base of one named entry of a path record's feature cache; entries are shared
// between copies of a record through shared pointers.
#pragma once

#include <string>

class CacheInterface {
public:
    virtual ~CacheInterface() = default;
    virtual std::string name() const = 0;
};
