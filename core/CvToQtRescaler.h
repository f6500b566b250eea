#pragma once
// Turns one OpenCV image into an RGB QImage of a requested size. Used once (made, sized,
// rescaled, read, dropped) and by one thread at a time; it owns a deep copy of its source
// until the rescale, which keeps only the result.

#include "core/ThreadSafeVariable.h"

#include <QImage>
#include <boost/shared_ptr.hpp>
#include <opencv2/core.hpp>

class CvToQtRescaler {
public:
    explicit CvToQtRescaler(const cv::Mat& image);

    void SetHighQuality(bool high_quality);
    void SetSize(int width, int height);
    // Height follows from the source's aspect ratio.
    void SetWidth(int width);
    // Once only: frees the source and the steps, so a finished image held for its widget
    // does not hold a whole frame too. Throws cv::Exception when the target size is not
    // positive.
    void Rescale();
    // Empty (and an ERROR line) until rescaled; a null QImage for source types without RGB form.
    boost::shared_ptr<QImage> GetImage() const;
    cv::Size GetSourceSize() const;

private:
    cv::Mat source_;
    cv::Size source_size_;
    cv::Mat resized_;
    int target_width_ = 0;
    int target_height_ = 0;
    boost::shared_ptr<QImage> result_;
    cv::Mat rgb_;
    ThreadSafeVariable<bool> high_quality_{false};
};
