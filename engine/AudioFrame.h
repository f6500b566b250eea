// A payload type for sound. Connectors, pads and connection threads exist for
// it, but no element produces or consumes it yet, so it carries nothing.
#pragma once

#include <string>

#include "core/StructureBase.h"

class AudioFrame : public StructureBase {
public:
    // Type text of pads that carry sound.
    static std::string GetTypeName() { return "Audio"; }
};
