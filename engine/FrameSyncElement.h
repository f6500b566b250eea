// An element with two inputs that pairs items of "input 0" with matching items
// of "input 1" and hands each matched pair to the derived class. Input 0's
// connection thread does all the pairing; input 1's connection only fills its
// one-slot queue, so input 1 is paced by input 0, and drops its items while
// input 0 is not connected. The buffers keep at most
// kMaxBuffered items each, dropping the oldest, so streams that never match
// cannot eat memory. The mutex makes a reset wait for an arrival in progress.
// The derived element adds the outputs.
#pragma once

#include <cstddef>
#include <deque>

#include <boost/shared_ptr.hpp>
#include <boost/thread/lock_guard.hpp>
#include <boost/thread/recursive_mutex.hpp>

#include "core/PassableItem.h"
#include "core/ThreadSafeVariable.h"
#include "engine/BoltOnSink.h"
#include "engine/ElementBase.h"
#include "engine/MakeUnownedPtr.h"
#include "engine/PadFeedback.h"
#include "engine/Sink.h"

class ControlAndStatus;

template <typename T>
class FrameSyncElement : public Sink<T>, public ElementBase {
public:
    static constexpr std::size_t kMaxBuffered = 32;

    explicit FrameSyncElement(boost::shared_ptr<ControlAndStatus> context);

    std::string GetTypeName() override { return T::GetTypeName(); }
    // An item arrives on input 0: buffer it, take what waits on input 1, pair.
    void PassData(PassableItem<T> item) override;
    // Empties both buffers.
    void Reset() override;
    PadFeedback GetFeedback() override { return feedback_.Get(); }

    // One matched pair: the item of input 0 first, the item of input 1 second.
    virtual void EmitPair(PassableItem<T> from_input_0, PassableItem<T> from_input_1) = 0;
    virtual bool IsMatch(PassableItem<T> from_input_0, PassableItem<T> from_input_1) = 0;
    virtual void SetFeedback(PadFeedback value) { feedback_.Set(value); }

    // Emits matches, oldest input-0 item first, each with the oldest input-1
    // item that matches it; older items of either buffer are discarded.
    void PairBuffers();

private:
    bool BothConnected() { return Sink<T>::IsConnected() && input_1.IsConnected(); }
    static void Append(std::deque<PassableItem<T>>& buffer, PassableItem<T> item);
    // Finds, emits and removes the first match; false when there is none or a
    // pad lost its peer.
    bool EmitFirstMatch();

    boost::recursive_mutex buffers_mutex_;  // guards buffer_0_ and buffer_1_
    std::deque<PassableItem<T>> buffer_0_;  // oldest first
    std::deque<PassableItem<T>> buffer_1_;  // oldest first

protected:
    // Items held in the buffers of input 0 and input 1; during EmitPair they
    // still include the pair being emitted.
    std::size_t BufferedCount0();
    std::size_t BufferedCount1();

    BoltOnSink<T> input_1;

private:
    ThreadSafeVariable<PadFeedback> feedback_;
};

template <typename T>
FrameSyncElement<T>::FrameSyncElement(boost::shared_ptr<ControlAndStatus> context) : ElementBase(context)
{
    AddInput(MakeUnownedPtr<Sink<T>>(this), "input 0");
    AddInput(MakeUnownedPtr<Sink<T>>(&input_1), "input 1");
    // Only arrivals on input 0 take what waits on input 1.
    input_1.FollowMainInput(*this);
}

template <typename T>
void FrameSyncElement<T>::PassData(PassableItem<T> item)
{
    boost::lock_guard<boost::recursive_mutex> lock(buffers_mutex_);
    if (!BothConnected()) {
        Reset();
        return;
    }
    Append(buffer_0_, item);
    while (input_1.queue.Count() >= 1) {
        Append(buffer_1_, input_1.queue.Pop());
        PairBuffers();
    }
    PairBuffers();
}

template <typename T>
void FrameSyncElement<T>::Reset()
{
    boost::lock_guard<boost::recursive_mutex> lock(buffers_mutex_);
    buffer_0_.clear();
    buffer_1_.clear();
}

template <typename T>
std::size_t FrameSyncElement<T>::BufferedCount0()
{
    boost::lock_guard<boost::recursive_mutex> lock(buffers_mutex_);
    return buffer_0_.size();
}

template <typename T>
std::size_t FrameSyncElement<T>::BufferedCount1()
{
    boost::lock_guard<boost::recursive_mutex> lock(buffers_mutex_);
    return buffer_1_.size();
}

template <typename T>
void FrameSyncElement<T>::PairBuffers()
{
    boost::lock_guard<boost::recursive_mutex> lock(buffers_mutex_);
    while (EmitFirstMatch()) {
    }
}

template <typename T>
bool FrameSyncElement<T>::EmitFirstMatch()
{
    for (std::size_t a = 0; a < buffer_0_.size(); ++a) {
        for (std::size_t b = 0; b < buffer_1_.size(); ++b) {
            if (!BothConnected())
                return false;
            if (IsMatch(buffer_0_[a], buffer_1_[b])) {
                // A throwing EmitPair leaves both buffers as they were.
                EmitPair(buffer_0_[a], buffer_1_[b]);
                buffer_0_.erase(buffer_0_.begin(), buffer_0_.begin() + a + 1);
                buffer_1_.erase(buffer_1_.begin(), buffer_1_.begin() + b + 1);
                return true;
            }
        }
    }
    return false;
}

template <typename T>
void FrameSyncElement<T>::Append(std::deque<PassableItem<T>>& buffer, PassableItem<T> item)
{
    buffer.push_back(item);
    while (buffer.size() > kMaxBuffered)
        buffer.pop_front();
}
