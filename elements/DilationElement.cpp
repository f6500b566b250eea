#include "elements/DilationElement.h"

#include <opencv2/imgproc.hpp>

DilationElement::DilationElement(boost::shared_ptr<ControlAndStatus> controls)
    : MorphologyElement(controls, cv::MORPH_DILATE)
{
}
