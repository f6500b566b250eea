// A value with its own mutex, copied in and out under that mutex. Owners hold it as a
// member and build it in place; setting items and widgets keep plain pointers to it,
// so the owner must outlive them. Never copied or moved.
#pragma once

#include "core/ValueText.h"

#include <boost/shared_ptr.hpp>
#include <boost/signals2/signal.hpp>
#include <boost/thread/lock_guard.hpp>
#include <boost/thread/mutex.hpp>

#include <string>

template <typename T>
class ThreadSafeVariable {
public:
    ThreadSafeVariable() : value_() {}
    ThreadSafeVariable(const T& initial) : value_(initial) {}
    ThreadSafeVariable(const ThreadSafeVariable&) = delete;

    // Waits for any thread still inside another operation before the value goes.
    ~ThreadSafeVariable()
    {
        if (destroyed_signal)
            (*destroyed_signal)();
        boost::lock_guard<boost::mutex> lock(mutex_);
    }

    T Get() const
    {
        boost::lock_guard<boost::mutex> lock(mutex_);
        return value_;
    }

    void Set(const T& value)
    {
        boost::lock_guard<boost::mutex> lock(mutex_);
        value_ = value;
    }

    // Reads the other first, then stores: assigning a variable to itself cannot
    // deadlock, and no two variable locks are ever held at once.
    ThreadSafeVariable& operator=(const ThreadSafeVariable& other)
    {
        Set(other.Get());
        return *this;
    }

    // Postfix: stores value + 1 and returns the old value, in one locked step.
    T operator++(int)
    {
        boost::lock_guard<boost::mutex> lock(mutex_);
        T old = value_;
        ++value_;
        return old;
    }

    T operator--(int)
    {
        boost::lock_guard<boost::mutex> lock(mutex_);
        T old = value_;
        --value_;
        return old;
    }

    bool operator==(const T& other) const
    {
        boost::lock_guard<boost::mutex> lock(mutex_);
        return value_ == other;
    }

    // Parses under the lock; a text that does not read throws and leaves the value.
    void SetFromString(const std::string& text)
    {
        boost::lock_guard<boost::mutex> lock(mutex_);
        value_ = ValueFromText<T>(text);
    }

    // Precision -1 gives the default stream format, others fixed-point decimals.
    std::string ToString(int precision) const
    {
        boost::lock_guard<boost::mutex> lock(mutex_);
        return ValueToText(value_, precision);
    }

    // Fired by the destructor when someone has made it; empty at construction.
    boost::shared_ptr<boost::signals2::signal<void()>> destroyed_signal;

private:
    T value_;
    mutable boost::mutex mutex_;  // guards value_
};
