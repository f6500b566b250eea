// One outline found in an image, with a small cache of shapes derived from it
// (computed at most once per shared cache) and the operations that draw it.
// A plain value: copies share the cached entries. No locks; one thread at a time.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <boost/shared_ptr.hpp>
#include <opencv2/core.hpp>

#include "core/CacheInterface.h"

class PathRecord {
public:
    PathRecord();

    bool HasCachedValue(const std::string& name) const;

    // Overwrites the entry of that name, or appends a new one.
    void SetCachedValue(const std::string& name, const cv::Rect& value);
    void SetCachedValue(const std::string& name, const std::vector<cv::Point>& value);
    void SetCachedValue(const std::string& name, const cv::RotatedRect& value);

    // Copies the first entry of that name into value; false (value untouched) when there is none.
    bool GetCachedValue(const std::string& name, cv::Rect& value) const;
    bool GetCachedValue(const std::string& name, std::vector<cv::Point>& value) const;
    bool GetCachedValue(const std::string& name, cv::RotatedRect& value) const;

    cv::Rect GetBoundingBox();
    // Convex hull of the panic points; empty when there are none.
    std::vector<cv::Point> GetHull();
    // Needs at least five points; OpenCV throws otherwise.
    cv::RotatedRect GetEllipse();
    // An empty record gives an empty rectangle.
    cv::RotatedRect GetRotatedRect();
    cv::Scalar GetColour() const;

    // The points as a chain of dots; colour (0, 0, 0, 0) means the record's own colour.
    void DrawPath(cv::Mat& image, cv::Scalar colour, int thickness) const;
    void DrawPanicPoints(cv::Mat& image) const;
    // Filled, or as a one-pixel outline, in the record's colour; an empty hull draws nothing.
    void DrawConvexHull(cv::Mat& image, bool fill);

    std::vector<boost::shared_ptr<CacheInterface>> feature_cache;
    // Carried with the record; nothing fills or reads them yet.
    std::vector<std::int64_t> values;
    std::vector<cv::Point> points;
    std::vector<cv::Point> panic_points;
    std::int32_t reserved[3];
    cv::Scalar colour;

private:
    template <typename T>
    void SetCached(const std::string& name, const T& value);
    template <typename T>
    bool GetCached(const std::string& name, T& value) const;
};
