// The real capture: a cv::VideoCapture behind VideoCaptureInterface. Paths open only
// when they name a regular file; opens and releases take the process-wide capture lock.
#pragma once

#include <string>

#include <opencv2/videoio.hpp>

#include "elements/VideoCaptureInterface.h"

class OpenCvVideoCapture : public VideoCaptureInterface {
public:
    OpenCvVideoCapture() = default;
    // Releases under the capture lock, not in cv::VideoCapture's own destructor.
    ~OpenCvVideoCapture() override;
    OpenCvVideoCapture(const OpenCvVideoCapture&) = delete;
    OpenCvVideoCapture& operator=(const OpenCvVideoCapture&) = delete;

    bool Open(int device) override;
    bool Open(const std::string& path) override;
    bool IsOpened() const override;
    bool Read(cv::Mat& image) override;
    double Get(int property) const override;
    bool Set(int property, double value) override;
    void Release() override;

private:
    cv::VideoCapture capture_;
};
