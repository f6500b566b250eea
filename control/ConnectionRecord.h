// One link between two elements as four texts, as the element table lists it and the
// pipeline files store it ("source_element", "source_name", "sink_element", "sink_name").
#pragma once

#include <string>

struct ConnectionRecord {
    std::string source_element;
    std::string source_name;
    std::string sink_element;
    std::string sink_name;

    bool operator==(const ConnectionRecord& other) const
    {
        return source_element == other.source_element && source_name == other.source_name &&
               sink_element == other.sink_element && sink_name == other.sink_name;
    }
};
