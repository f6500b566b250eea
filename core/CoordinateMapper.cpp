#include "core/CoordinateMapper.h"

#include <cmath>
#include <limits>

namespace {

// A ratio of 0 or infinity comes from a side of size 0; its coordinates map to 0.
double DivideByRatio(double value, double ratio)
{
    if (ratio == 0.0 || !std::isfinite(ratio)) {
        return 0.0;
    }
    return value / ratio;
}

int TruncateToInt(double value)
{
    if (!std::isfinite(value) || value <= static_cast<double>(std::numeric_limits<int>::min()) - 1.0 ||
        value >= static_cast<double>(std::numeric_limits<int>::max()) + 1.0) {
        return 0;
    }
    return static_cast<int>(value);
}

}  // namespace

void CoordinateMapper::SetImageSize(cv::Size size)
{
    image_width_ = size.width;
    image_height_ = size.height;
}

void CoordinateMapper::SetWidgetSize(int width, int height)
{
    widget_width_ = width;
    widget_height_ = height;
}

cv::Point2d CoordinateMapper::WidgetToImage(cv::Point2d point) const
{
    return cv::Point2d(DivideByRatio(point.x, widget_width_ / image_width_),
                       DivideByRatio(point.y, widget_height_ / image_height_));
}

cv::Point CoordinateMapper::WidgetToImagePoint(cv::Point point) const
{
    const cv::Point2d mapped = WidgetToImage(cv::Point2d(point.x, point.y));
    return cv::Point(TruncateToInt(mapped.x), TruncateToInt(mapped.y));
}

cv::Point2d CoordinateMapper::ImageToWidget(cv::Point2d point) const
{
    return cv::Point2d(DivideByRatio(point.x, image_width_ / widget_width_),
                       DivideByRatio(point.y, image_height_ / widget_height_));
}

cv::Point2d ToDoublePoint(QPoint point)
{
    return cv::Point2d(point.x(), point.y());
}

QPoint ToIntPoint(cv::Point2d point)
{
    return QPoint(TruncateToInt(point.x), TruncateToInt(point.y));
}
