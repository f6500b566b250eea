// An extra input pad that buffers one item until its owning element takes it
// from the queue (Count tells whether one waits, Pop takes it). Not an
// element: its owner lists it with AddInput and keeps it alive. An owner that
// takes items only while handling its main input ties the pad to that input
// (FollowMainInput), so that a lone extra input never holds its feed back.
#pragma once

#include <atomic>

#include <boost/signals2/connection.hpp>

#include "core/FILELog.h"
#include "core/FrameQueue.h"
#include "core/PassableItem.h"
#include "core/ThreadSafeVariable.h"
#include "engine/PadFeedback.h"
#include "engine/Sink.h"
#include "engine/SinkBase.h"

template <typename T>
class BoltOnSink : public Sink<T> {
public:
    BoltOnSink() = default;
    // Shuts the queue first, so a connection blocked on it wakes.
    ~BoltOnSink() override
    {
        main_lost_.disconnect();
        queue.Shutdown();
    }

    // Blocks while the slot is full, unless items are being ignored or the main input
    // is not connected.
    void PassData(PassableItem<T> item) override
    {
        if (ignore_.Get())
            return;
        if (main_ != nullptr && !main_->IsConnected()) {
            DropWhileMainIsAway();
            return;
        }
        waiting_said_ = false;
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

    // Items are kept only while main, the owner's input whose handling takes them, is
    // connected; otherwise they are dropped, which is said once at WARNING. A push
    // waiting when main loses its connection goes through. Called by the owner before
    // any connection; main belongs to the same owner.
    void FollowMainInput(SinkBase& main)
    {
        main_ = &main;
        main_lost_ = main.disconnected.connect([this] { queue.Clear(); });
    }

    FrameQueue<T> queue{1};

private:
    void DropWhileMainIsAway()
    {
        queue.Clear();
        if (waiting_said_.exchange(true))
            return;
        FILE_LOG(logWARNING) << this->owner_element_id.Get() << ": waiting for \"" << main_->pad_name.Get()
                             << "\" to be connected; what arrives on \"" << this->pad_name.Get()
                             << "\" is dropped until then";
    }

    ThreadSafeVariable<bool> ignore_{false};
    SinkBase* main_ = nullptr;
    // Whether the drops were said since items were last taken; feeding connection only,
    // but successive connections run on different threads.
    std::atomic<bool> waiting_said_{false};
    boost::signals2::connection main_lost_;
};
