#include "core/TaskQueue.h"

#include <utility>

void TaskQueue::Push(Task task)
{
    {
        boost::unique_lock<boost::mutex> lock(mutex_);
        if (stopped_)
            return;
        tasks_.push_back(std::move(task));
    }
    task_or_stop_.notify_all();
}

bool TaskQueue::WaitAndPop(Task& task)
{
    boost::unique_lock<boost::mutex> lock(mutex_);
    while (!stopped_ && tasks_.empty())
        task_or_stop_.wait(lock);
    if (stopped_)
        return false;
    task = std::move(tasks_.front());
    tasks_.pop_front();
    return true;
}

int TaskQueue::Count() const
{
    boost::unique_lock<boost::mutex> lock(mutex_);
    return static_cast<int>(tasks_.size());
}

void TaskQueue::Stop()
{
    {
        boost::unique_lock<boost::mutex> lock(mutex_);
        stopped_ = true;
    }
    task_or_stop_.notify_all();
}
