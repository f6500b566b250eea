// "False Colour": maps every frame's image, made 8-bit without alpha, through one
// of OpenCV's colour maps.
// The element owns its setting variable; the image is changed in place.
#pragma once

#include "core/ThreadSafeVariable.h"
#include "core/VideoFrame.h"
#include "engine/ElementFilter.h"

class ControlAndStatus;

class FalseColour : public ElementFilter<VideoFrame> {
public:
    explicit FalseColour(boost::shared_ptr<ControlAndStatus> controls);
    ~FalseColour() override;

    PassableItem<VideoFrame> Process(PassableItem<VideoFrame> item) override;

private:
    // OpenCV colour-map number, Autumn 0 ... Hot 11.
    ThreadSafeVariable<int> mode_{2};
};
