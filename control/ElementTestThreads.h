// The element-test threads of the process that may still be running. A commander stops
// its own when it is destroyed; whatever is left when the process exits (File > Exit
// ends it without destroying the commander) is interrupted and joined then, before the
// process-wide objects the tests use are destroyed. The list is made by the first
// commander, so it outlives what is made after it. Runs take turns: the camera and video
// libraries that the elements open are not safe to open from two threads at once.
#pragma once

#include <boost/shared_ptr.hpp>
#include <boost/thread/condition_variable.hpp>
#include <boost/thread/mutex.hpp>
#include <boost/thread/thread.hpp>

#include <vector>

class ElementTestThreads {
public:
    static ElementTestThreads& Instance();

    // Held for the whole of one run; waiting for it is an interruption point.
    class Turn {
    public:
        Turn();
        ~Turn();
        Turn(const Turn&) = delete;
        Turn& operator=(const Turn&) = delete;
    };

    ~ElementTestThreads();
    ElementTestThreads(const ElementTestThreads&) = delete;
    ElementTestThreads& operator=(const ElementTestThreads&) = delete;

    // Keeps the thread until it is stopped; threads that have ended are dropped.
    void Add(const boost::shared_ptr<boost::thread>& thread);
    // Interrupts the thread and waits for its end, then forgets it. The calling thread
    // itself is only forgotten (it cannot wait for itself).
    void Stop(const boost::shared_ptr<boost::thread>& thread);

    // Interrupts and joins the thread unless it is the caller's own.
    static void InterruptAndJoin(boost::thread& thread);
    // Whether the thread has ended (it is joined then).
    static bool HasEnded(boost::thread& thread);

private:
    ElementTestThreads() = default;

    boost::mutex mutex_;  // guards threads_
    std::vector<boost::shared_ptr<boost::thread>> threads_;

    boost::mutex turn_mutex_;  // guards running_
    bool running_ = false;
    boost::condition_variable turn_ended_;
};
