// Typed output pad. The connection thread reading it calls GetData, and after
// each transfer hands back the downstream pad's feedback.
#pragma once

#include <string>

#include "core/PassableItem.h"
#include "engine/PadFeedback.h"
#include "engine/SourceBase.h"

template <typename T>
class Source : public SourceBase {
public:
    std::string GetTypeName() override { return T::GetTypeName(); }

    // The next item, on the connection's thread; an invalid item means nothing this time.
    virtual PassableItem<T> GetData() = 0;
    // Called on both pads of every connection before the pipeline starts.
    virtual void Reset() {}
    virtual void SetFeedback(PadFeedback feedback) {}
};
