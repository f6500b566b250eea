// "Contour Detector": finds the outlines in each frame and sends them out as a
// PathContainer on "Path Output", while the frame itself goes on as 8-bit BGR.
// The element owns its variables and pad.
#pragma once

#include "core/PathContainer.h"
#include "core/ThreadSafeVariable.h"
#include "core/VideoFrame.h"
#include "engine/BoltOnSource.h"
#include "engine/ElementFilter.h"

class ControlAndStatus;

class ContourDetectorElement : public ElementFilter<VideoFrame> {
public:
    explicit ContourDetectorElement(boost::shared_ptr<ControlAndStatus> controls);
    ~ContourDetectorElement() override;

    PassableItem<VideoFrame> Process(PassableItem<VideoFrame> item) override;

private:
    // OpenCV's retrieval mode: external 0, list 1, two-level 2, tree 3.
    ThreadSafeVariable<int> retrieval_mode_{0};
    // OpenCV's chain approximation method minus 2: simple, TC89 L1, TC89 KCOS.
    ThreadSafeVariable<int> approximation_method_{0};
    BoltOnSource<PathContainer> path_output_;
};
