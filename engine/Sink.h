// Typed input pad. The connection thread feeding it calls PassData with every
// valid item, then asks for the feedback to hand upstream.
#pragma once

#include <string>

#include "core/PassableItem.h"
#include "engine/PadFeedback.h"
#include "engine/SinkBase.h"

template <typename T>
class Sink : public SinkBase {
public:
    std::string GetTypeName() override { return T::GetTypeName(); }

    // Takes one valid item, on the feeding connection's thread.
    virtual void PassData(PassableItem<T> item) = 0;
    // Called on both pads of every connection before the pipeline starts.
    virtual void Reset() {}
    virtual PadFeedback GetFeedback() { return PadFeedback(); }
};
