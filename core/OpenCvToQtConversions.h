#pragma once
// One-shot view of a frame as an RGB QImage, and the colour conversions between OpenCV and Qt.
// The QImage returned points into this object's data: copy it before the object goes.

#include <QColor>
#include <QImage>
#include <opencv2/core.hpp>

class OpenCvToQtConversions {
public:
    // Shares the image's pixel data.
    explicit OpenCvToQtConversions(const cv::Mat& image);

    // Types other than 8-bit or float with one or three channels leave the RGB data empty.
    void ConvertToRgb();
    QImage GetQImage();

private:
    cv::Mat source_;
    QImage image_;
    cv::Mat rgb_;
};

// 8-bit grey or BGR images, and float ones taken as values 0 to 255, into RGB; float images
// are first converted in place to 8 bits. Any other type leaves rgb empty.
void MatToRgb(cv::Mat& image, cv::Mat& rgb);

cv::Scalar QColorToScalar(const QColor& colour);
QColor ScalarToQColor(const cv::Scalar& colour);
