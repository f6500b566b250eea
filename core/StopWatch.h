#pragma once
// Measures elapsed time on the monotonic steady clock. Each stop watch belongs to one
// thread; it has no lock.

#include <boost/chrono.hpp>

class StopWatch {
public:
    StopWatch();
    double GetElapsedSeconds() const;
    void Restart();

private:
    boost::chrono::steady_clock::time_point start_;
};
