// Play position of one video reader, shared by the reader's connection thread
// (reads and advances) and the playback widget on the GUI thread (sets, steps,
// pauses). Each call locks only the one variable it touches.
#pragma once

#include <boost/signals2/signal.hpp>

#include "core/ThreadSafeVariable.h"

class FrameNumber {
public:
    FrameNumber() = default;
    FrameNumber(const FrameNumber&) = delete;
    FrameNumber& operator=(const FrameNumber&) = delete;
    // Fires destroyed_signal before the variables go.
    ~FrameNumber();

    long long GetFrame();
    long long GetFrameCount();
    void SetFrame(long long frame);
    void SetFrameCount(long long count);
    void SetPaused(bool paused);

    // Move by one and return the old position.
    long long StepBack();
    long long StepForward();
    // Returns the position, then advances it unless paused, wrapping to 0 at the count.
    long long GetFrameAndAdvance();

    // The playback widget connects its deferred deletion here.
    boost::signals2::signal<void()> destroyed_signal;

private:
    ThreadSafeVariable<long long> current_{0};
    ThreadSafeVariable<long long> count_{0};
    ThreadSafeVariable<bool> paused_{false};
};
