// "Erosion": shrinks bright areas (cv::erode) with a structuring element
// of side 2 * "_size" + 1, in place on every frame's image.
#pragma once

#include "elements/MorphologyElement.h"

class ErosionElement : public MorphologyElement {
public:
    explicit ErosionElement(boost::shared_ptr<ControlAndStatus> controls);
};
