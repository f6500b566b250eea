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

bool HasRgbForm(int type)
{
    const int depth = CV_MAT_DEPTH(type);
    const int channels = CV_MAT_CN(type);
    const bool known_depth = depth == CV_8U || depth == CV_16U || depth == CV_32F;
    return known_depth && (channels == 1 || channels == 3 || channels == 4);
}

void MatToRgb(cv::Mat& image, cv::Mat& rgb)
{
    if (!HasRgbForm(image.type())) {
        rgb.release();
        return;
    }
    if (image.depth() == CV_16U) {
        // 257 is the step from 8 to 16 bits: 65535 becomes 255, 257 becomes 1.
        image.convertTo(image, CV_8U, 1.0 / 257.0, 0.0);
    } else if (image.depth() == CV_32F) {
        image.convertTo(image, CV_8U, 1.0, 0.0);
    }
    static const int kToRgb[] = {0, cv::COLOR_GRAY2RGB, 0, cv::COLOR_BGR2RGB, cv::COLOR_BGRA2RGB};
    cv::cvtColor(image, rgb, kToRgb[image.channels()]);
}

QImage MatToRgb32(const cv::Mat& image)
{
    // Format_RGB32 is 0xffRRGGBB in native order: blue, green, red, 255 in memory.
    static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "RGB32 pixels are written as BGRA bytes");
    if (image.empty() || !HasRgbForm(image.type())) {
        return QImage();
    }
    cv::Mat eight = image;
    if (image.depth() == CV_16U) {
        image.convertTo(eight, CV_8U, 1.0 / 257.0, 0.0);
    } else if (image.depth() == CV_32F) {
        image.convertTo(eight, CV_8U, 1.0, 0.0);
    }
    QImage result(image.cols, image.rows, QImage::Format_RGB32);
    if (result.isNull()) {
        return result;
    }
    // Written in place: the target has the size and type the conversions make.
    cv::Mat target(result.height(), result.width(), CV_8UC4, result.bits(),
                   static_cast<size_t>(result.bytesPerLine()));
    if (eight.channels() == 4) {
        const cv::Mat opaque(eight.size(), CV_8UC1, cv::Scalar(255));
        const cv::Mat sources[] = {eight, opaque};
        static const int kFromTo[] = {0, 0, 1, 1, 2, 2, 4, 3};
        cv::mixChannels(sources, 2, &target, 1, kFromTo, 4);
    } else {
        cv::cvtColor(eight, target, eight.channels() == 1 ? cv::COLOR_GRAY2BGRA : cv::COLOR_BGR2BGRA);
    }
    return result;
}

void WarnIfNoRgbForm(const cv::Mat& image, const std::string& viewer, FrameTypeWarning& warning)
{
    if (!HasRgbForm(image.type())) {
        warning.Warn(image.type(), viewer + " cannot show frames of type " + cv::typeToString(image.type()));
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
