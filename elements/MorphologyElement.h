// What "Dilation" and "Erosion" share: the "_size" and "_type" settings and one
// OpenCV morphology operation with a structuring element of side 2 * "_size" + 1,
// in place on every frame's image. Subclasses only choose the operation.
#pragma once

#include "core/ThreadSafeVariable.h"
#include "core/VideoFrame.h"
#include "engine/ElementFilter.h"

class ControlAndStatus;

class MorphologyElement : public ElementFilter<VideoFrame> {
public:
    ~MorphologyElement() override;

    PassableItem<VideoFrame> Process(PassableItem<VideoFrame> item) override;

protected:
    // operation: cv::MORPH_DILATE or cv::MORPH_ERODE.
    MorphologyElement(boost::shared_ptr<ControlAndStatus> controls, int operation);

private:
    const int operation_;
    ThreadSafeVariable<int> size_{3};
    // OpenCV structuring-element shape: rectangle 0, cross 1, ellipse 2.
    ThreadSafeVariable<int> type_{0};
};
