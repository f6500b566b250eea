#include "control/ElementTestThreads.h"

#include <boost/chrono.hpp>
#include <boost/thread/lock_guard.hpp>

#include <algorithm>

ElementTestThreads& ElementTestThreads::Instance()
{
    static ElementTestThreads threads;
    return threads;
}

ElementTestThreads::Turn::Turn()
{
    boost::this_thread::interruption_point();
    ElementTestThreads& threads = Instance();
    boost::unique_lock<boost::mutex> lock(threads.turn_mutex_);
    while (threads.running_)
        threads.turn_ended_.wait(lock);
    threads.running_ = true;
}

ElementTestThreads::Turn::~Turn()
{
    ElementTestThreads& threads = Instance();
    {
        boost::lock_guard<boost::mutex> lock(threads.turn_mutex_);
        threads.running_ = false;
    }
    threads.turn_ended_.notify_one();
}

ElementTestThreads::~ElementTestThreads()
{
    // All interrupted first: a run waiting for its turn must not start when the first ends.
    for (const boost::shared_ptr<boost::thread>& thread : threads_)
        thread->interrupt();
    for (const boost::shared_ptr<boost::thread>& thread : threads_)
        InterruptAndJoin(*thread);
}

void ElementTestThreads::Add(const boost::shared_ptr<boost::thread>& thread)
{
    boost::lock_guard<boost::mutex> lock(mutex_);
    threads_.erase(
        std::remove_if(threads_.begin(), threads_.end(),
                       [](const boost::shared_ptr<boost::thread>& kept) { return HasEnded(*kept); }),
        threads_.end());
    threads_.push_back(thread);
}

void ElementTestThreads::Stop(const boost::shared_ptr<boost::thread>& thread)
{
    // Joined outside the lock: the thread may be starting another test meanwhile.
    InterruptAndJoin(*thread);
    boost::lock_guard<boost::mutex> lock(mutex_);
    threads_.erase(std::remove(threads_.begin(), threads_.end(), thread), threads_.end());
}

void ElementTestThreads::InterruptAndJoin(boost::thread& thread)
{
    if (!thread.joinable() || thread.get_id() == boost::this_thread::get_id())
        return;
    // Waiting here must not itself be cut short by an interruption of the caller.
    boost::this_thread::disable_interruption no_interruption;
    thread.interrupt();
    thread.join();
}

bool ElementTestThreads::HasEnded(boost::thread& thread)
{
    return !thread.joinable() || thread.try_join_for(boost::chrono::milliseconds(0));
}
