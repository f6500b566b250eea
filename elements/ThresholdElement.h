// "Threshold": makes every frame's image 8-bit grey and thresholds it with one of
// OpenCV's fixed-level threshold types.
#pragma once

#include "core/ThreadSafeVariable.h"
#include "core/VideoFrame.h"
#include "engine/ElementFilter.h"

class ControlAndStatus;

class ThresholdElement : public ElementFilter<VideoFrame> {
public:
    explicit ThresholdElement(boost::shared_ptr<ControlAndStatus> controls);
    ~ThresholdElement() override;

    PassableItem<VideoFrame> Process(PassableItem<VideoFrame> item) override;

private:
    ThreadSafeVariable<int> threshold_{125};
    ThreadSafeVariable<int> max_value_{255};
    // OpenCV threshold type: binary 0 ... to zero inverted 4.
    ThreadSafeVariable<int> type_{0};
};
