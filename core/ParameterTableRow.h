// One row of the variable table that a parameter store gives out: texts only, so the
// row stays valid whatever happens to the setting afterwards.
#pragma once

#include <string>

struct ParameterTableRow {
    std::string name;
    std::string owner;
    std::string value;
    std::string setting_name;
    std::string type_name;
};
