#include "core/FrameNumber.h"

FrameNumber::~FrameNumber()
{
    destroyed_signal();
}

long long FrameNumber::GetFrame()
{
    return current_.Get();
}

long long FrameNumber::GetFrameCount()
{
    return count_.Get();
}

void FrameNumber::SetFrame(long long frame)
{
    current_.Set(frame);
}

void FrameNumber::SetFrameCount(long long count)
{
    count_.Set(count);
}

void FrameNumber::SetPaused(bool paused)
{
    paused_.Set(paused);
}

long long FrameNumber::StepBack()
{
    return current_--;
}

long long FrameNumber::StepForward()
{
    return current_++;
}

long long FrameNumber::GetFrameAndAdvance()
{
    const long long frame = current_.Get();
    if (paused_.Get())
        return frame;
    // Increment in place so a position the widget set meanwhile is not overwritten.
    const long long advanced = current_++ + 1;
    if (advanced >= count_.Get())
        current_.Set(0);
    return frame;
}
