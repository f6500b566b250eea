// "Dilation": grows bright areas (cv::dilate) with a structuring element
// of side 2 * "_size" + 1, in place on every frame's image.
#pragma once

#include "core/ThreadSafeVariable.h"
#include "core/VideoFrame.h"
#include "engine/ElementFilter.h"

class ControlAndStatus;

class DilationElement : public ElementFilter<VideoFrame>
{
public:
    explicit DilationElement(boost::shared_ptr<ControlAndStatus> controls);
    ~DilationElement() override;

    PassableItem<VideoFrame> Process(PassableItem<VideoFrame> item) override;

private:
    ThreadSafeVariable<int> size_{3};
    // OpenCV structuring-element shape: rectangle 0, cross 1, ellipse 2.
    ThreadSafeVariable<int> type_{0};
};
