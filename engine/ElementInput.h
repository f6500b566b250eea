// A sink element: the connection feeding its one input "input" hands each
// item to ConsumeData on its own thread.
#pragma once

#include <boost/shared_ptr.hpp>

#include "core/PassableItem.h"
#include "engine/ElementBase.h"
#include "engine/MakeUnownedPtr.h"
#include "engine/Sink.h"

class ControlAndStatus;

template <typename T>
class ElementInput : public Sink<T>, public ElementBase {
public:
    explicit ElementInput(boost::shared_ptr<ControlAndStatus> context) : ElementBase(context)
    {
        AddInput(MakeUnownedPtr<Sink<T>>(this), "input");
    }

    std::string GetTypeName() override { return T::GetTypeName(); }
    void PassData(PassableItem<T> item) override { ConsumeData(item); }

    virtual void ConsumeData(PassableItem<T> item) = 0;
};
