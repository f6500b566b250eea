// The bounded blocking queue between two engine threads: one pushes, the
// other pops, and a full queue holds its pusher back (back-pressure). The
// owner holds the queue by value; a shut-down queue throws the plain integer
// 0 from every push and pop, which the connection thread's catch-all treats
// as a failed pass. Waits are interruptible (boost::thread_interrupted).
#pragma once

#include <deque>
#include <utility>

#include <boost/signals2/signal.hpp>
#include <boost/thread/condition_variable.hpp>
#include <boost/thread/mutex.hpp>
#include <boost/thread/thread.hpp>

#include "core/CustomException.h"
#include "core/PassableItem.h"
#include "core/ThreadSafeVariable.h"

template <typename T>
class FrameQueue {
public:
    // A capacity below 1 could never accept an item, so it is refused.
    explicit FrameQueue(int capacity);
    // Shuts down, then waits until every thread woken by the shutdown has
    // left, so none of them touches a destroyed mutex or condition.
    ~FrameQueue();
    FrameQueue(const FrameQueue&) = delete;
    FrameQueue& operator=(const FrameQueue&) = delete;

    // Waits while full, unless drop-when-full is set: then the item is dropped.
    void Push(PassableItem<T> item);
    // Removes and returns the oldest item, waiting while the queue is empty.
    PassableItem<T> Pop();
    // Empties the queue; it stays in service.
    void Clear();
    // Empties the queue and puts it out of service for good; wakes every waiter.
    void Shutdown();

    int Count() const { return count_.Get(); }
    int Capacity() const { return capacity_.Get(); }
    bool IsShutDown() const { return shut_down_.Get(); }
    void SetDropWhenFull(bool drop) { drop_when_full_.Set(drop); }

    // Emitted after every successful push with the queue mutex held: a
    // subscriber must not push, pop, clear or shut down this queue.
    boost::signals2::signal<void()>& PushedSignal() { return pushed_; }

private:
    // Counts a thread as inside the queue for as long as it holds or waits
    // for the queue mutex; made and destroyed with the mutex held.
    class InsideGuard {
    public:
        explicit InsideGuard(FrameQueue& queue) : queue_(queue) { ++queue_.inside_; }
        ~InsideGuard()
        {
            if (--queue_.inside_ == 0)
                queue_.all_left_.notify_all();
        }
        InsideGuard(const InsideGuard&) = delete;
        InsideGuard& operator=(const InsideGuard&) = delete;

    private:
        FrameQueue& queue_;
    };

    void ThrowIfShutDown() const
    {
        if (shut_down_.Get())
            throw 0;
    }

    ThreadSafeVariable<int> count_{0};
    ThreadSafeVariable<bool> drop_when_full_{false};
    boost::signals2::signal<void()> pushed_;
    boost::condition_variable not_full_;
    boost::condition_variable not_empty_;
    boost::condition_variable all_left_;
    boost::mutex mutex_;  // guards items_, inside_ and the three conditions
    int inside_ = 0;
    ThreadSafeVariable<int> capacity_;
    ThreadSafeVariable<bool> shut_down_{false};
    std::deque<PassableItem<T>> items_;
};

template <typename T>
FrameQueue<T>::FrameQueue(int capacity) : capacity_(capacity)
{
    if (capacity < 1)
        throw CustomException("Frame queue capacity must be at least 1");
}

template <typename T>
FrameQueue<T>::~FrameQueue()
{
    boost::this_thread::disable_interruption no_interruption;
    Shutdown();
    boost::unique_lock<boost::mutex> lock(mutex_);
    while (inside_ > 0)
        all_left_.wait(lock);
}

template <typename T>
void FrameQueue<T>::Push(PassableItem<T> item)
{
    ThrowIfShutDown();
    boost::this_thread::interruption_point();
    boost::unique_lock<boost::mutex> lock(mutex_);
    InsideGuard inside(*this);
    if (drop_when_full_.Get()) {
        if (count_.Get() >= capacity_.Get())
            return;
    } else {
        while (count_.Get() >= capacity_.Get()) {
            not_full_.wait(lock);
            ThrowIfShutDown();
        }
    }
    ThrowIfShutDown();
    count_++;
    items_.push_back(std::move(item));
    pushed_();
    not_empty_.notify_all();
}

template <typename T>
PassableItem<T> FrameQueue<T>::Pop()
{
    ThrowIfShutDown();
    boost::this_thread::interruption_point();
    boost::unique_lock<boost::mutex> lock(mutex_);
    InsideGuard inside(*this);
    while (count_.Get() <= 0) {
        not_empty_.wait(lock);
        ThrowIfShutDown();
    }
    ThrowIfShutDown();
    PassableItem<T> item = std::move(items_.front());
    items_.pop_front();
    count_--;
    not_full_.notify_all();
    return item;
}

template <typename T>
void FrameQueue<T>::Clear()
{
    boost::unique_lock<boost::mutex> lock(mutex_);
    InsideGuard inside(*this);
    not_full_.notify_all();
    not_empty_.notify_all();
    items_.clear();
    count_.Set(0);
}

template <typename T>
void FrameQueue<T>::Shutdown()
{
    boost::unique_lock<boost::mutex> lock(mutex_);
    InsideGuard inside(*this);
    shut_down_.Set(true);
    items_.clear();
    count_.Set(0);
    not_full_.notify_all();
    not_empty_.notify_all();
}
