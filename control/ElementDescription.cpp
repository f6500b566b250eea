#include "control/ElementDescription.h"

PadDescription ElementDescription::GetPad(const std::string& pad_name) const
{
    for (const PadDescription& pad : pads) {
        if (pad.name == pad_name)
            return pad;
    }
    return PadDescription();
}
