// "Colour Space Conversion": converts every frame's image from the colour space
// its format records into the chosen one, and records the new space in the frame.
// Alpha is dropped and 16-bit frames are made 8-bit first.
#pragma once

#include <string>
#include <vector>

#include "core/ThreadSafeVariable.h"
#include "core/VideoFrame.h"
#include "engine/ElementFilter.h"

class ControlAndStatus;

class ColourSpaceConvertorElement : public ElementFilter<VideoFrame> {
public:
    explicit ColourSpaceConvertorElement(boost::shared_ptr<ControlAndStatus> controls);
    ~ColourSpaceConvertorElement() override;

    PassableItem<VideoFrame> Process(PassableItem<VideoFrame> item) override;

    // The item list of the target setting: BGR, RGB, HSV, GREY, YCrCb in value order.
    static std::string MakeColourSpaceItems();
    // The cvtColor codes, in order, that take an image of this many channels from
    // one colour space to another; empty when no conversion is defined.
    static std::vector<int> ConversionCodes(int channels, int from, int to);

private:
    // A VideoFormat colour space, 0 BGR ... 4 YCrCb.
    ThreadSafeVariable<int> output_colourspace_{0};
};
