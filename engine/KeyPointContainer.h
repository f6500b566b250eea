// A payload type for key points. Connectors, pads and connection threads exist
// for it, but no element produces or consumes it yet, so it carries nothing.
#pragma once

#include <string>

#include "core/StructureBase.h"

class KeyPointContainer : public StructureBase {
public:
    // Type text of pads that carry key points.
    static std::string GetTypeName() { return "Keypoint"; }
};
