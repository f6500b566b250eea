#pragma once
// One-shot view of a frame as an RGB QImage, and the colour conversions between OpenCV and Qt.
// The QImage returned points into this object's data: copy it before the object goes.

#include "core/FrameTypeWarning.h"

#include <QColor>
#include <QImage>
#include <opencv2/core.hpp>

#include <string>

class OpenCvToQtConversions {
public:
    // Shares the image's pixel data.
    explicit OpenCvToQtConversions(const cv::Mat& image);

    // Types without an RGB form (HasRgbForm) leave the RGB data empty.
    void ConvertToRgb();
    QImage GetQImage();

private:
    cv::Mat source_;
    QImage image_;
    cv::Mat rgb_;
};

// Whether MatToRgb shows images of this OpenCV type: 8-bit, 16-bit or float, with one
// (grey), three (BGR) or four (BGRA) channels.
bool HasRgbForm(int type);

// An image of a type with an RGB form into RGB, alpha dropped; a 16-bit or float image is
// first converted in place to 8 bits (16-bit scaled down, float taken as values 0 to 255).
// Any other type leaves rgb empty.
void MatToRgb(cv::Mat& image, cv::Mat& rgb);

// The same conversion into a new QImage of Format_RGB32, the format widgets paint without
// converting; the image is left as it is. Any other type gives a null image.
QImage MatToRgb32(const cv::Mat& image);

// For an image without an RGB form: "<viewer> cannot show frames of type <type>", once a type
// for the owner of the warning.
void WarnIfNoRgbForm(const cv::Mat& image, const std::string& viewer, FrameTypeWarning& warning);

cv::Scalar QColorToScalar(const QColor& colour);
QColor ScalarToQColor(const cv::Scalar& colour);
