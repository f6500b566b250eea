// One worker thread of a WorkerPool: it takes tasks of type T from the
// pool's queue, oldest first, and runs them one at a time. The pool owns the
// worker and the queue; the worker only points at the queue, which must
// outlive it.
#pragma once

#include <exception>

#include <boost/thread/thread.hpp>

#include "core/FILELog.h"
#include "core/TaskQueue.h"

template <typename T>
class ThreadContainer {
public:
    explicit ThreadContainer(TaskQueue* queue) : queue_(queue), thread_(&ThreadContainer::Run, this) {}

    // Interrupts the thread and joins it. Joining from the worker's own
    // thread (a task that ends the process) is impossible, so it detaches.
    ~ThreadContainer()
    {
        thread_.interrupt();
        try {
            thread_.join();
        } catch (...) {
            thread_.detach();
        }
    }

    ThreadContainer(const ThreadContainer&) = delete;
    ThreadContainer& operator=(const ThreadContainer&) = delete;

private:
    void Run()
    {
        try {
            while (RunOnce()) {
            }
        } catch (const boost::thread_interrupted&) {
            // Being stopped.
        }
    }

    // Runs one task; false once the queue has been stopped.
    bool RunOnce()
    {
        T task;
        if (!queue_->WaitAndPop(task))
            return false;
        try {
            task();
        } catch (const boost::thread_interrupted&) {
            throw;
        } catch (...) {
            FILE_LOG(logDEBUG) << "Exception running function in thread container";
        }
        boost::this_thread::interruption_point();
        return true;
    }

    TaskQueue* queue_;
    boost::thread thread_;
};
