#include "elements/EdgeDetect.h"

#include <opencv2/imgproc.hpp>

#include "core/ImageConversions.h"

EdgeDetect::EdgeDetect(boost::shared_ptr<ControlAndStatus> controls)
    : ElementFilter<VideoFrame>(controls)
{
    settings.AddSetting("_threshold_1", &threshold_1_, "min=0, max=255");
    settings.AddSetting("_threshold_2", &threshold_2_, "min=0, max=255");
}

EdgeDetect::~EdgeDetect() = default;

PassableItem<VideoFrame> EdgeDetect::Process(PassableItem<VideoFrame> item)
{
    cv::Mat& image = item.data->image;
    ToGrey(image, image);
    cv::Canny(image, image, threshold_1_.Get(), threshold_2_.Get(), 3, false);
    return item;
}
