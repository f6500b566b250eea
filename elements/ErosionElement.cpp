#include "elements/ErosionElement.h"

#include <opencv2/imgproc.hpp>

ErosionElement::ErosionElement(boost::shared_ptr<ControlAndStatus> controls)
    : MorphologyElement(controls, cv::MORPH_ERODE)
{
}
