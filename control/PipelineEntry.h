// One entry of a pipeline file as the store reads it: a child of "top", whatever its tag,
// with its "id" and "type" and, in file order, the "name" and "value" of its "Settings"
// children and the four texts of its "Connection" children. A missing attribute reads "".
#pragma once

#include "control/ConnectionRecord.h"

#include <string>
#include <utility>
#include <vector>

struct PipelineEntry {
    std::string id;
    std::string type;
    std::vector<std::pair<std::string, std::string>> settings;
    std::vector<ConnectionRecord> connections;
};
