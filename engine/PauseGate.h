// The gate at which one connection thread stops while the pipeline is paused,
// and through which a single step lets it pass once. Owned by its Looper; the
// connection thread waits, the controlling thread pauses, plays and releases.
#pragma once

#include <boost/thread/condition_variable.hpp>
#include <boost/thread/lock_types.hpp>
#include <boost/thread/mutex.hpp>

class PauseGate {
public:
    // A new gate is paused; the Looper opens it when the connection is made.
    PauseGate();
    // Opens the gate and lets any waiter go, so no thread stays blocked on a dead gate;
    // returns once every waiter has left.
    ~PauseGate();
    PauseGate(const PauseGate&) = delete;
    PauseGate& operator=(const PauseGate&) = delete;

    // Closes (true) or opens (false) the gate and wakes every waiter.
    void SetPaused(bool paused);
    bool IsPaused() const;

    // Returns at once while the gate is open; blocks while it is paused until
    // it opens or a release lets this thread pass, and then until that release
    // has let every other waiter go too. An interruption of the waiting thread
    // leaves by throwing the plain integer 0.
    void Wait();

    // Lets every thread waiting at this moment pass once; returns once all of
    // them have left their wait. Threads arriving later are not let through.
    void Release();

    // The number of threads inside Wait.
    int WaitingCount() const;

private:
    // Leaves the books straight however a wait ends (normally or by interruption).
    void LeaveWait(unsigned long long entry_round);
    // Holds the calling thread, no longer counted as waiting, until no release is in
    // progress, so threads released together go on together.
    void WaitForPassed(boost::unique_lock<boost::mutex>& lock);

    mutable boost::mutex mutex_;
    boost::condition_variable changed_;  // paused flag, release round or leavers changed
    bool paused_ = true;
    // Each release starts a new round; a waiter that entered in an earlier round passes.
    unsigned long long round_ = 0;
    int waiting_this_round_ = 0;  // waiters a release would let through
    int still_to_leave_ = 0;      // waiters let through by the last release and not yet gone
    bool releasing_ = false;
    int passing_ = 0;  // threads inside WaitForPassed
};
