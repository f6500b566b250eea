#pragma once
// One entry of the hub's registry of shared control records; the entry owns its record.

#include "core/ControlBaseClass.h"

#include <boost/shared_ptr.hpp>

#include <string>

struct SharedControlEntry {
    std::string instance_name;
    boost::shared_ptr<ControlBaseClass> control;
    std::string type_name;      // typeid(T).name() of the record's class
    std::string settings_file;  // its file's name in the per-user folder; empty for none
};
