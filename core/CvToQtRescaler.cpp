#include "core/CvToQtRescaler.h"

#include "core/FILELog.h"
#include "core/OpenCvToQtConversions.h"

#include <boost/make_shared.hpp>
#include <opencv2/imgproc.hpp>

void CvToQtRescaler::SetHighQuality(bool high_quality)
{
    high_quality_.Set(high_quality);
}

void CvToQtRescaler::SetSize(int width, int height)
{
    target_width_ = width;
    target_height_ = height;
}

void CvToQtRescaler::SetWidth(int width, cv::Size source)
{
    target_width_ = width;
    target_height_ = HeightForWidth(width, source);
}

bool CvToQtRescaler::Shrink(const cv::Mat& image)
{
    shrunk_ = false;
    if (target_width_ < 1 || target_height_ < 1) {
        return false;
    }
    source_size_ = image.size();
    showable_ = HasRgbForm(image.type());
    if (showable_) {
        // Both interpolations read only the source pixels around each target pixel.
        const int interpolation = high_quality_.Get() ? cv::INTER_CUBIC : cv::INTER_NEAREST;
        cv::resize(image, resized_, cv::Size(target_width_, target_height_), 0.0, 0.0, interpolation);
    }
    shrunk_ = true;
    return true;
}

boost::shared_ptr<QImage> CvToQtRescaler::Convert() const
{
    if (!shrunk_) {
        FILE_LOG(logERROR) << "Null Image in rescaler";
        return boost::shared_ptr<QImage>();
    }
    return boost::make_shared<QImage>(showable_ ? MatToRgb32(resized_) : QImage());
}

cv::Size CvToQtRescaler::GetSourceSize() const
{
    return source_size_;
}

int CvToQtRescaler::HeightForWidth(int width, cv::Size source)
{
    if (source.width < 1 || source.height < 1) {
        return 0;
    }
    return static_cast<int>(width / (static_cast<double>(source.width) / source.height));
}
