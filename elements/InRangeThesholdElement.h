// "In Range Threshold": replaces every frame's image by the mask of the pixels
// whose three channels (made 8-bit, alpha dropped) lie within the element's
// bounds. The bounds can be derived from a picked colour, in the units of the
// stream's colour space.
// The element owns its variables and its reset button signal.
#pragma once

#include <boost/signals2/signal.hpp>
#include <opencv2/core.hpp>

#include "core/ThreadSafeVariable.h"
#include "core/VideoFrame.h"
#include "engine/ElementFilter.h"

class ControlAndStatus;

class InRangeThesholdElement : public ElementFilter<VideoFrame> {
public:
    explicit InRangeThesholdElement(boost::shared_ptr<ControlAndStatus> controls);
    ~InRangeThesholdElement() override;

    PassableItem<VideoFrame> Process(PassableItem<VideoFrame> item) override;

    // Bounds from the picked colour and the last colour space seen (GUI thread).
    void ResetToSelected();
    // Bounds = picked colour, in that colour space's 8-bit units, +/- sensitivity.
    // Only BGR and HSV streams change the bounds.
    void SetRangesFromColour(int colour_space);

private:
    boost::signals2::signal<void()> reset_to_selected_;
    ThreadSafeVariable<cv::Scalar> pick_colour_{cv::Scalar(0, 0, 0, 0)};
    ThreadSafeVariable<int> sensitivity_{10};
    ThreadSafeVariable<int> channel_0_min_{0};
    ThreadSafeVariable<int> channel_0_max_{255};
    ThreadSafeVariable<int> channel_1_min_{0};
    ThreadSafeVariable<int> channel_1_max_{255};
    ThreadSafeVariable<int> channel_2_min_{0};
    ThreadSafeVariable<int> channel_2_max_{255};
    // Colour space of the previous frame; a change re-derives the bounds.
    ThreadSafeVariable<int> last_colour_space_{0};

    ThreadSafeVariable<int>* const mins_[3] = {&channel_0_min_, &channel_1_min_, &channel_2_min_};
    ThreadSafeVariable<int>* const maxs_[3] = {&channel_0_max_, &channel_1_max_, &channel_2_max_};
};
