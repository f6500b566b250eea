// Common base of every pipeline payload (VideoFrame, PathContainer): a free list
// of texts and the moment the object was made. Payloads are owned through
// PassableItem's shared pointer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class StructureBase {
public:
    StructureBase();
    // A copy is a new object: it gets its own creation time.
    StructureBase(const StructureBase& other);
    StructureBase& operator=(const StructureBase& other);
    virtual ~StructureBase();

    std::vector<std::string> texts;
    // Whole seconds of the calendar clock.
    std::int64_t creation_time;
};
