#include "core/OpenCvToQtConversions.h"

#include <opencv2/imgproc.hpp>

OpenCvToQtConversions::OpenCvToQtConversions(const cv::Mat& image) : source_(image) {}

void OpenCvToQtConversions::ConvertToRgb()
{
    // convertTo into a different type gives source_ new data; the frame's pixels stay as they are.
    MatToRgb(source_, rgb_);
}

QImage OpenCvToQtConversions::GetQImage()
{
    if (rgb_.empty()) {
        image_ = QImage();
    } else {
        image_ = QImage(rgb_.data, rgb_.cols, rgb_.rows, static_cast<int>(rgb_.step), QImage::Format_RGB888);
    }
    return image_;
}

void MatToRgb(cv::Mat& image, cv::Mat& rgb)
{
    if (image.type() == CV_32FC1) {
        image.convertTo(image, CV_8UC1, 1.0, 0.0);
    } else if (image.type() == CV_32FC3) {
        image.convertTo(image, CV_8UC3, 1.0, 0.0);
    }
    if (image.type() == CV_8UC1) {
        cv::cvtColor(image, rgb, cv::COLOR_GRAY2RGB);
    } else if (image.type() == CV_8UC3) {
        cv::cvtColor(image, rgb, cv::COLOR_BGR2RGB);
    } else {
        rgb.release();
    }
}

cv::Scalar QColorToScalar(const QColor& colour)
{
    return cv::Scalar(colour.blue(), colour.green(), colour.red(), 0);
}

QColor ScalarToQColor(const cv::Scalar& colour)
{
    return QColor(static_cast<int>(colour[2]), static_cast<int>(colour[1]), static_cast<int>(colour[0]), 255);
}
