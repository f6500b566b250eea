// An extra input pad that buffers one item until its owning element takes it
// from the queue (Count tells whether one waits, Pop takes it). Not an
// element: its owner lists it with AddInput and keeps it alive.
#pragma once

#include "core/FrameQueue.h"
#include "core/PassableItem.h"
#include "core/ThreadSafeVariable.h"
#include "engine/PadFeedback.h"
#include "engine/Sink.h"

template <typename T>
class BoltOnSink : public Sink<T> {
public:
    BoltOnSink() = default;
    // Shuts the queue first, so a connection blocked on it wakes.
    ~BoltOnSink() override { queue.Shutdown(); }

    // Blocks while the slot is full, unless items are being ignored.
    void PassData(PassableItem<T> item) override
    {
        if (!ignore_.Get())
            queue.Push(item);
    }
    // A new connection or run starts taking items at once, not at the owner's next frame.
    void Reset() override
    {
        queue.Clear();
        ignore_.Set(false);
    }
    PadFeedback GetFeedback() override { return PadFeedback(); }

    // While set, every item is dropped and the feeding connection never blocks.
    void SetIgnore(bool ignore) { ignore_.Set(ignore); }

    FrameQueue<T> queue{1};

private:
    ThreadSafeVariable<bool> ignore_{false};
};
