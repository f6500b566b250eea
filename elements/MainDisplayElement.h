// "Main Display": hands every frame, rescaled to the display size, to the big
// display window and passes it on unchanged. The element makes the
// MainDisplayControls record and shares it with the window through the
// "_controls" setting; the record outlives the element while the window holds
// it, and the cleared element-alive flag tells the window to close.
#pragma once

#include <boost/shared_ptr.hpp>

#include "core/MainDisplayControls.h"
#include "core/VideoFrame.h"
#include "engine/ElementFilter.h"

class ControlAndStatus;

class MainDisplayElement : public ElementFilter<VideoFrame> {
public:
    explicit MainDisplayElement(boost::shared_ptr<ControlAndStatus> controls);
    ~MainDisplayElement() override;

    // Waits while the window has not taken the previous image.
    PassableItem<VideoFrame> Process(PassableItem<VideoFrame> item) override;

private:
    boost::shared_ptr<MainDisplayControls> display_controls_;
};
