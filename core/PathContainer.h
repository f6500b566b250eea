// The path payload: the outlines found in one frame, in order. Made per frame by
// its producer and shared through PassableItem<PathContainer>.
#pragma once

#include <string>
#include <vector>

#include "core/PathRecord.h"
#include "core/StructureBase.h"

class PathContainer : public StructureBase {
public:
    PathContainer() = default;
    PathContainer(const PathContainer&) = default;
    PathContainer& operator=(const PathContainer&) = default;
    ~PathContainer() override;

    // Type text of pads that carry paths.
    static std::string GetTypeName();

    std::vector<PathRecord> records;
};
