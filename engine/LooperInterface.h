// The controlling side of one connection thread, whatever its payload type.
// The ConnectionManager holds each connection through this interface; the
// shared pointer's deleter, made for the concrete Looper<T>, destroys it.
#pragma once

#include <limits>
#include <string>

class LooperInterface {
public:
    virtual void Start() = 0;
    virtual void Stop() = 0;
    virtual int GetFrameCount() = 0;
    virtual std::string GetStatus() = 0;
    virtual void PrintStatus(bool force) = 0;
    virtual bool Involves(std::string element_id) = 0;
    virtual void SetLogEverything(bool log_everything) = 0;
    virtual void ResetPads() = 0;
    virtual void Pause(bool paused) = 0;
    virtual void Step() = 0;

    // The frame count after one more item: it runs up to the largest int and
    // then starts again at 0, never overflowing.
    static int NextFrameCount(int count)
    {
        return count >= std::numeric_limits<int>::max() || count < 0 ? 0 : count + 1;
    }

protected:
    ~LooperInterface() = default;
};
