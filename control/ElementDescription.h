// An element's type name and the descriptions of its pads, inputs first, then outputs, as
// ElementScanner::DescribeElement builds it for the node editor.
#pragma once

#include "control/PadDescription.h"

#include <string>
#include <vector>

struct ElementDescription {
    // A copy of the first pad of exactly that name; an empty description when none has it.
    PadDescription GetPad(const std::string& pad_name) const;

    std::string name;
    std::vector<PadDescription> pads;
};
