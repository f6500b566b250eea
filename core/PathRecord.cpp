#include "core/PathRecord.h"

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>
#include <opencv2/imgproc.hpp>

#include "core/CachedValue.h"

namespace {

const char* const kBoundingBox = "bounding_box";
const char* const kHull = "hull";
const char* const kEllipse = "ellipse";
const char* const kRotatedRect = "rotated_rect";

}  // namespace

PathRecord::PathRecord() : reserved{0, 0, 0}, colour(0, 0, 0, 0) {}

bool PathRecord::HasCachedValue(const std::string& name) const
{
    for (const auto& entry : feature_cache) {
        if (entry->name() == name)
            return true;
    }
    return false;
}

template <typename T>
void PathRecord::SetCached(const std::string& name, const T& value)
{
    for (const auto& entry : feature_cache) {
        if (entry->name() != name)
            continue;
        if (auto typed = boost::dynamic_pointer_cast<CachedValue<T>>(entry)) {
            typed->value = value;
            return;
        }
    }
    feature_cache.push_back(boost::make_shared<CachedValue<T>>(value, name));
}

template <typename T>
bool PathRecord::GetCached(const std::string& name, T& value) const
{
    for (const auto& entry : feature_cache) {
        if (entry->name() != name)
            continue;
        if (auto typed = boost::dynamic_pointer_cast<CachedValue<T>>(entry)) {
            value = typed->value;
            return true;
        }
    }
    return false;
}

void PathRecord::SetCachedValue(const std::string& name, const cv::Rect& value)
{
    SetCached(name, value);
}

void PathRecord::SetCachedValue(const std::string& name, const std::vector<cv::Point>& value)
{
    SetCached(name, value);
}

void PathRecord::SetCachedValue(const std::string& name, const cv::RotatedRect& value)
{
    SetCached(name, value);
}

bool PathRecord::GetCachedValue(const std::string& name, cv::Rect& value) const
{
    return GetCached(name, value);
}

bool PathRecord::GetCachedValue(const std::string& name, std::vector<cv::Point>& value) const
{
    return GetCached(name, value);
}

bool PathRecord::GetCachedValue(const std::string& name, cv::RotatedRect& value) const
{
    return GetCached(name, value);
}

cv::Rect PathRecord::GetBoundingBox()
{
    cv::Rect box;
    if (!GetCachedValue(kBoundingBox, box)) {
        box = cv::boundingRect(points);
        SetCachedValue(kBoundingBox, box);
    }
    return box;
}

std::vector<cv::Point> PathRecord::GetHull()
{
    std::vector<cv::Point> hull;
    if (!GetCachedValue(kHull, hull)) {
        // OpenCV asserts on an empty point set.
        if (!panic_points.empty())
            cv::convexHull(panic_points, hull, false, true);
        SetCachedValue(kHull, hull);
    }
    return hull;
}

cv::RotatedRect PathRecord::GetEllipse()
{
    cv::RotatedRect ellipse;
    if (!GetCachedValue(kEllipse, ellipse)) {
        ellipse = cv::fitEllipse(cv::Mat(points));
        SetCachedValue(kEllipse, ellipse);
    }
    return ellipse;
}

cv::RotatedRect PathRecord::GetRotatedRect()
{
    cv::RotatedRect rect;
    if (!GetCachedValue(kRotatedRect, rect)) {
        // OpenCV asserts on an empty point set.
        if (!points.empty())
            rect = cv::minAreaRect(points);
        SetCachedValue(kRotatedRect, rect);
    }
    return rect;
}

cv::Scalar PathRecord::GetColour() const
{
    return colour;
}

void PathRecord::DrawPath(cv::Mat& image, cv::Scalar colour_to_use, int thickness) const
{
    if (colour_to_use == cv::Scalar(0, 0, 0, 0))
        colour_to_use = colour;
    for (const cv::Point& point : points)
        cv::circle(image, point, 1, colour_to_use, thickness, cv::LINE_8, 0);
}

void PathRecord::DrawPanicPoints(cv::Mat& image) const
{
    for (const cv::Point& point : panic_points)
        cv::circle(image, point, 2, cv::Scalar(0, 255, 0, 0), 2, cv::LINE_8, 0);
}

void PathRecord::DrawConvexHull(cv::Mat& image, bool fill)
{
    const std::vector<cv::Point> hull = GetHull();
    if (hull.empty())
        return;
    if (fill) {
        cv::fillConvexPoly(image, hull, colour, cv::LINE_8, 0);
    } else {
        const std::vector<std::vector<cv::Point>> outline{hull};
        cv::drawContours(image, outline, 0, colour, 1, cv::LINE_8);
    }
}
