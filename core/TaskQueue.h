// The worker pool's shared list of posted tasks. One mutex and one condition
// guard both the list and the stop request, so a post can never slip between
// a worker's emptiness check and its wait. The pool owns the queue; workers
// hold a plain pointer to it.
#pragma once

#include <deque>
#include <functional>

#include <boost/thread/condition_variable.hpp>
#include <boost/thread/mutex.hpp>

class TaskQueue {
public:
    using Task = std::function<void()>;

    TaskQueue() = default;
    TaskQueue(const TaskQueue&) = delete;
    TaskQueue& operator=(const TaskQueue&) = delete;

    // Appends the task and wakes every waiting worker; dropped once stopped.
    void Push(Task task);

    // Waits (interruptibly) for a task; false once the queue is stopped,
    // even when tasks are still queued: those are never run.
    bool WaitAndPop(Task& task);

    int Count() const;

    // Ends every present and future wait; there is no restart.
    void Stop();

private:
    mutable boost::mutex mutex_;
    boost::condition_variable task_or_stop_;
    std::deque<Task> tasks_;
    bool stopped_ = false;
};
