// What the node editor needs to draw one port of an element: the pad's name, its payload
// type text ("2D Info", "Path") and its direction.
#pragma once

#include <string>

struct PadDescription {
    std::string name;
    std::string type;
    bool is_input = false;
};
