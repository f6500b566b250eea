#pragma once
// Maps points between image pixels and the pixels of a widget that shows the image scaled.
// A plain value; whoever shares one between threads guards it.

#include <QPoint>
#include <opencv2/core.hpp>

class CoordinateMapper {
public:
    void SetImageSize(cv::Size size);
    void SetWidgetSize(int width, int height);

    // A side of size 0 maps every coordinate on it to 0.
    cv::Point2d WidgetToImage(cv::Point2d point) const;
    cv::Point WidgetToImagePoint(cv::Point point) const;
    cv::Point2d ImageToWidget(cv::Point2d point) const;

private:
    double image_width_ = 1.0;
    double widget_width_ = 1.0;
    double image_height_ = 1.0;
    double widget_height_ = 1.0;
};

cv::Point2d ToDoublePoint(QPoint point);
// Truncates; a coordinate that is not a finite number in the int range becomes 0.
QPoint ToIntPoint(cv::Point2d point);
