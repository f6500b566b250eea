// A non-blocking hand-over from an element's processing thread to a widget's
// timer: the writer never waits (a full pipe drops its oldest items) and the
// reader gets an invalid item when nothing new arrived. Held by shared pointer.
#pragma once

#include <deque>
#include <utility>

#include <boost/thread/lock_guard.hpp>
#include <boost/thread/mutex.hpp>

#include "core/PassableItem.h"
#include "core/PipeBase_.h"

template <typename T>
class InternalPipe : public PipeBase_ {
public:
    InternalPipe() = default;

    void Push(PassableItem<T> item)
    {
        boost::lock_guard<boost::mutex> lock(mutex_);
        while (static_cast<int>(items_.size()) > kLimit)
            items_.pop_front();
        items_.push_back(std::move(item));
    }

    // The oldest item, or an invalid one when the pipe is empty.
    PassableItem<T> Pop()
    {
        boost::lock_guard<boost::mutex> lock(mutex_);
        if (items_.empty())
            return PassableItem<T>();
        PassableItem<T> item = std::move(items_.front());
        items_.pop_front();
        return item;
    }

private:
    std::deque<PassableItem<T>> items_;  // oldest first
    boost::mutex mutex_;                 // guards items_
};
