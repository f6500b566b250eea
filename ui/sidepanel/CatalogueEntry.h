#pragma once
// One element type of the catalogue as the element selector lists it.

#include <string>

struct CatalogueEntry {
    std::string name;
    std::string category;
    std::string description;
};
