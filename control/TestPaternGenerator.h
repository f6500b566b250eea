// The test-pattern source of the element tester: every call makes one new frame of noise
// or of a solid colour. Not in the catalogue; the tester owns it through its own table.
// MakeData runs on the connection thread; the settings pass through their own locks.
#pragma once

#include "core/ThreadSafeVariable.h"
#include "core/VideoFrame.h"
#include "engine/ElementOutput.h"

#include <boost/shared_ptr.hpp>

#include <opencv2/core.hpp>

class ControlAndStatus;

class TestPaternGenerator : public ElementOutput<VideoFrame> {
public:
    explicit TestPaternGenerator(boost::shared_ptr<ControlAndStatus> context);

    PassableItem<VideoFrame> MakeData() override;

private:
    void FillWithNoise(cv::Mat& image) const;

    ThreadSafeVariable<int> width_{1920};
    ThreadSafeVariable<int> height_{1080};
    ThreadSafeVariable<int> mode_{0};
    ThreadSafeVariable<bool> greyscale_{false};
    ThreadSafeVariable<cv::Scalar> colour_{cv::Scalar(0, 0, 0, 0)};
};
