#include "core/CvToQtRescaler.h"

#include "core/FILELog.h"
#include "core/OpenCvToQtConversions.h"

#include <boost/make_shared.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>

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
        // Picking pixels is the one cheap step on a frame many times the target's size; the
        // cubic step, when wanted, follows in Convert on what is left, at most twice the target.
        const cv::Size target(target_width_, target_height_);
        const cv::Size kept = high_quality_.Get() ? PickedSize(image.size(), target) : target;
        cv::resize(image, resized_, kept, 0.0, 0.0, cv::INTER_NEAREST);
    }
    shrunk_ = true;
    return true;
}

cv::Size CvToQtRescaler::PickedSize(cv::Size source, cv::Size target)
{
    return cv::Size(std::min(source.width, 2 * target.width), std::min(source.height, 2 * target.height));
}

boost::shared_ptr<QImage> CvToQtRescaler::Convert()
{
    if (!shrunk_) {
        FILE_LOG(logERROR) << "Null Image in rescaler";
        return boost::shared_ptr<QImage>();
    }
    if (!showable_) {
        return boost::make_shared<QImage>();
    }
    const cv::Size target(target_width_, target_height_);
    if (resized_.size() == target) {
        return boost::make_shared<QImage>(MatToRgb32(resized_));
    }
    cv::resize(resized_, smoothed_, target, 0.0, 0.0, cv::INTER_CUBIC);
    return boost::make_shared<QImage>(MatToRgb32(smoothed_));
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
