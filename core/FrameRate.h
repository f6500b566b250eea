// Frames per second of a source; -1.0 means the rate was never set.
#pragma once

class FrameRate {
public:
    FrameRate() = default;
    explicit FrameRate(double frames_per_second) : fps_(frames_per_second) {}

    double Get() const { return fps_; }
    void Set(double frames_per_second) { fps_ = frames_per_second; }

private:
    double fps_ = -1.0;
};
