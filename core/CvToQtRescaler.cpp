#include "core/CvToQtRescaler.h"

#include "core/FILELog.h"
#include "core/OpenCvToQtConversions.h"

#include <boost/make_shared.hpp>
#include <opencv2/imgproc.hpp>

CvToQtRescaler::CvToQtRescaler(const cv::Mat& image) : source_size_(image.size())
{
    image.copyTo(source_);
}

void CvToQtRescaler::SetHighQuality(bool high_quality)
{
    high_quality_.Set(high_quality);
}

void CvToQtRescaler::SetSize(int width, int height)
{
    target_width_ = width;
    target_height_ = height;
}

void CvToQtRescaler::SetWidth(int width)
{
    target_width_ = width;
    target_height_ =
        source_size_.width > 0
            ? static_cast<int>(static_cast<double>(width) * source_size_.height / source_size_.width)
            : 0;
}

void CvToQtRescaler::Rescale()
{
    const int interpolation = high_quality_.Get() ? cv::INTER_CUBIC : cv::INTER_NEAREST;
    cv::resize(source_, resized_, cv::Size(target_width_, target_height_), 0.0, 0.0, interpolation);
    source_.release();
    MatToRgb(resized_, rgb_);
    resized_.release();
    if (rgb_.empty()) {
        result_ = boost::make_shared<QImage>();
        return;
    }
    const QImage view(rgb_.data, rgb_.cols, rgb_.rows, static_cast<int>(rgb_.step), QImage::Format_RGB888);
    result_ = boost::make_shared<QImage>(view.copy());
    rgb_.release();
}

boost::shared_ptr<QImage> CvToQtRescaler::GetImage() const
{
    if (!result_) {
        FILE_LOG(logERROR) << "Null Image in rescaler";
    }
    return result_;
}

cv::Size CvToQtRescaler::GetSourceSize() const
{
    return source_size_;
}
