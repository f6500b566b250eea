// A small pool of worker threads for short jobs that must not hold up a
// connection thread (preview rescaling). Tasks start in posting order on
// whichever worker is free. The pool owns its queue and its workers; tasks
// still queued when the pool is destroyed are dropped without running.
#pragma once

#include <functional>
#include <vector>

#include <boost/shared_ptr.hpp>

#include "core/TaskQueue.h"

template <typename T>
class ThreadContainer;

class WorkerPool {
public:
    // A count below 1 makes no workers: posted tasks then only queue up.
    explicit WorkerPool(int worker_count);
    // Stops the pool (see Stop).
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    // Returns at once; the poster never waits for the task. An exception
    // thrown by the task is logged at DEBUG and the worker carries on.
    void Post(std::function<void()> task);

    // Stops the queue, then interrupts and joins each worker in turn; a
    // running task is allowed to finish unless it waits interruptibly. Tasks
    // still queued, and tasks posted later, never run. Called by the owner.
    void Stop();

    int WorkerCount() const;

private:
    int worker_count_;
    TaskQueue queue_;
    std::vector<boost::shared_ptr<ThreadContainer<std::function<void()>>>> workers_;
};

// The process-wide pool of four workers, made on first use. Whoever ends the
// process stops it first, once nothing posts any more: the libraries its tasks
// use (OpenCV) may lose their static state before the pool's own stop at
// process exit runs. The pool itself is never freed, so a thread that still
// posts during the exit finds a stopped queue rather than freed memory.
WorkerPool& GlobalWorkerPool();
