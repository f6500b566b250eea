// "Blur": a normalised box blur of every frame's image, in place.
#pragma once

#include "core/ThreadSafeVariable.h"
#include "core/VideoFrame.h"
#include "engine/ElementFilter.h"

class ControlAndStatus;

class BlurElement : public ElementFilter<VideoFrame> {
public:
    explicit BlurElement(boost::shared_ptr<ControlAndStatus> controls);
    ~BlurElement() override;

    PassableItem<VideoFrame> Process(PassableItem<VideoFrame> item) override;

private:
    ThreadSafeVariable<int> width_{3};
    ThreadSafeVariable<int> height_{3};
};
