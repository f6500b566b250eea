// "Canny": makes every frame's image 8-bit grey and replaces it by its Canny edges.
#pragma once

#include "core/ThreadSafeVariable.h"
#include "core/VideoFrame.h"
#include "engine/ElementFilter.h"

class ControlAndStatus;

class EdgeDetect : public ElementFilter<VideoFrame> {
public:
    explicit EdgeDetect(boost::shared_ptr<ControlAndStatus> controls);
    ~EdgeDetect() override;

    PassableItem<VideoFrame> Process(PassableItem<VideoFrame> item) override;

private:
    ThreadSafeVariable<double> threshold_1_{80.0};
    ThreadSafeVariable<double> threshold_2_{160.0};
};
