#include "core/WorkerPool.h"

#include <boost/make_shared.hpp>

#include "core/ThreadContainer.h"

WorkerPool::WorkerPool(int worker_count) : worker_count_(worker_count < 1 ? 0 : worker_count)
{
    for (int i = 0; i < worker_count_; ++i)
        workers_.push_back(boost::make_shared<ThreadContainer<std::function<void()>>>(&queue_));
}

WorkerPool::~WorkerPool()
{
    Stop();
}

void WorkerPool::Stop()
{
    queue_.Stop();
    for (auto& worker : workers_)
        worker.reset();
    workers_.clear();
}

void WorkerPool::Post(std::function<void()> task)
{
    queue_.Push(std::move(task));
}

int WorkerPool::WorkerCount() const
{
    return worker_count_;
}

WorkerPool& GlobalWorkerPool()
{
    static WorkerPool* const pool = new WorkerPool(4);
    static const struct StopAtExit {
        ~StopAtExit() { pool->Stop(); }
    } stop_at_exit;
    return *pool;
}
