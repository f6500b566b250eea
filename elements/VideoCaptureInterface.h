// The few cv::VideoCapture calls the camera and the video file reader make, behind
// an interface so their frame and property logic runs without a camera. Each
// reader owns its capture through a shared pointer.
#pragma once

#include <string>

#include <opencv2/core.hpp>

class VideoCaptureInterface {
public:
    virtual ~VideoCaptureInterface() = default;

    virtual bool Open(int device) = 0;
    virtual bool Open(const std::string& path) = 0;
    virtual bool IsOpened() const = 0;
    // The next frame; false (and an empty image) when none came.
    virtual bool Read(cv::Mat& image) = 0;
    virtual double Get(int property) const = 0;
    virtual bool Set(int property, double value) = 0;
    virtual void Release() = 0;
};
