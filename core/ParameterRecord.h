// One setting registered with a parameter store: the live item inside its configurable
// object's settings container (not owned) and the two labels of that object.
#pragma once

#include <string>

class ParameterItem;

struct ParameterRecord {
    ParameterItem* item = nullptr;
    std::string name;   // the object's name; an element's id
    std::string owner;  // the object's second label; an element's type
};
