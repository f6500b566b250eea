#include "elements/ThresholdElement.h"

#include <opencv2/imgproc.hpp>

#include "core/ImageConversions.h"

ThresholdElement::ThresholdElement(boost::shared_ptr<ControlAndStatus> controls)
    : ElementFilter<VideoFrame>(controls)
{
    settings.AddSetting("_threshold", &threshold_, "min=1, max=255");
    settings.AddSetting("_max_value", &max_value_, "min=0, max=255");
    settings.AddSetting("_type", &type_,
                        "items=[Binary][Binary Inverted][Truncated][To Zero][To Zero Inverted]");
}

ThresholdElement::~ThresholdElement() = default;

PassableItem<VideoFrame> ThresholdElement::Process(PassableItem<VideoFrame> item)
{
    cv::Mat& image = item.data->image;
    ToGrey(image, image);
    cv::threshold(image, image, static_cast<double>(threshold_.Get()),
                  static_cast<double>(max_value_.Get()), type_.Get());
    return item;
}
