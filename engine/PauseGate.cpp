#include "engine/PauseGate.h"

#include <boost/thread/lock_types.hpp>
#include <boost/thread/thread.hpp>

PauseGate::PauseGate() = default;

PauseGate::~PauseGate()
{
    SetPaused(false);
    Release();
    // A released thread may still be waking inside WaitForPassed, on this mutex.
    boost::this_thread::disable_interruption no_interruption;
    boost::unique_lock<boost::mutex> lock(mutex_);
    while (passing_ > 0)
        changed_.wait(lock);
}

void PauseGate::SetPaused(bool paused)
{
    {
        boost::lock_guard<boost::mutex> lock(mutex_);
        paused_ = paused;
    }
    changed_.notify_all();
}

bool PauseGate::IsPaused() const
{
    boost::lock_guard<boost::mutex> lock(mutex_);
    return paused_;
}

int PauseGate::WaitingCount() const
{
    boost::lock_guard<boost::mutex> lock(mutex_);
    return waiting_this_round_ + still_to_leave_;
}

void PauseGate::Wait()
{
    boost::unique_lock<boost::mutex> lock(mutex_);
    const unsigned long long entry_round = round_;
    ++waiting_this_round_;
    try {
        boost::this_thread::interruption_point();
        while (paused_ && round_ == entry_round)
            changed_.wait(lock);
        boost::this_thread::interruption_point();
    } catch (const boost::thread_interrupted&) {
        // Boost re-locks the mutex before an interrupted wait throws.
        LeaveWait(entry_round);
        throw 0;
    }
    LeaveWait(entry_round);
    WaitForPassed(lock);
}

void PauseGate::WaitForPassed(boost::unique_lock<boost::mutex>& lock)
{
    ++passing_;
    bool interrupted = false;
    try {
        while (releasing_)
            changed_.wait(lock);
    } catch (const boost::thread_interrupted&) {
        interrupted = true;
    }
    if (--passing_ == 0)
        changed_.notify_all();
    if (interrupted)
        throw 0;
}

void PauseGate::LeaveWait(unsigned long long entry_round)
{
    if (entry_round == round_) {
        --waiting_this_round_;
        return;
    }
    if (--still_to_leave_ == 0)
        changed_.notify_all();
}

void PauseGate::Release()
{
    // Also runs from the destructor, which must not throw.
    boost::this_thread::disable_interruption no_interruption;
    boost::unique_lock<boost::mutex> lock(mutex_);
    while (releasing_)
        changed_.wait(lock);
    releasing_ = true;
    still_to_leave_ = waiting_this_round_;
    waiting_this_round_ = 0;
    ++round_;
    lock.unlock();
    changed_.notify_all();
    lock.lock();
    while (still_to_leave_ > 0)
        changed_.wait(lock);
    releasing_ = false;
    lock.unlock();
    changed_.notify_all();
}
