// A source element that makes its items on demand: the connection reading
// its one output "output" calls MakeData on its own thread.
#pragma once

#include <boost/shared_ptr.hpp>

#include "core/PassableItem.h"
#include "core/ThreadSafeVariable.h"
#include "engine/ElementBase.h"
#include "engine/MakeUnownedPtr.h"
#include "engine/PadFeedback.h"
#include "engine/Source.h"

class ControlAndStatus;

template <typename T>
class ElementOutput : public Source<T>, public ElementBase {
public:
    explicit ElementOutput(boost::shared_ptr<ControlAndStatus> context) : ElementBase(context)
    {
        AddOutput(MakeUnownedPtr<Source<T>>(this), "output");
    }

    std::string GetTypeName() override { return T::GetTypeName(); }
    PassableItem<T> GetData() override { return MakeData(); }
    void SetFeedback(PadFeedback value) override { feedback.Set(value); }

    // The next item, or an invalid item when there is none this time.
    virtual PassableItem<T> MakeData() = 0;

protected:
    ThreadSafeVariable<PadFeedback> feedback;
};
