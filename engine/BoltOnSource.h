// An extra output pad with its own one-slot queue. The owning element pushes
// from its processing code; the connection on the pad pops. Not an element:
// its owner lists it with AddOutput and keeps it alive.
#pragma once

#include "core/FrameQueue.h"
#include "core/PassableItem.h"
#include "engine/PadFeedback.h"
#include "engine/Source.h"

template <typename T>
class BoltOnSource : public Source<T> {
public:
    BoltOnSource() = default;
    // Shuts the queue first, so a connection blocked on it wakes.
    ~BoltOnSource() override { queue.Shutdown(); }

    PassableItem<T> GetData() override { return queue.Pop(); }
    void Reset() override { queue.Clear(); }
    void SetFeedback(PadFeedback feedback) override {}

    // Blocks while the previous item has not been taken; an unconnected pad
    // drops the item at once.
    void Push(PassableItem<T> item)
    {
        if (this->IsConnected())
            queue.Push(item);
    }

    FrameQueue<T> queue{1};
};
