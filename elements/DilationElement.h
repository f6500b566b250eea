// "Dilation": grows bright areas (cv::dilate) with a structuring element
// of side 2 * "_size" + 1, in place on every frame's image.
#pragma once

#include "elements/MorphologyElement.h"

class DilationElement : public MorphologyElement {
public:
    explicit DilationElement(boost::shared_ptr<ControlAndStatus> controls);
};
