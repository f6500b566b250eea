#pragma once
// Turns OpenCV images into QImages of a requested size, in the format widgets paint without
// converting (QImage::Format_RGB32), in two steps. Shrink reads the frame once, on the caller's
// thread, picking pixels into a buffer kept for the next frame (at most twice the target's
// size): the frame is neither copied nor kept, and no frame-sized memory is taken. Convert then
// smooths that to the target (cubic, when high quality is set) and makes the QImage, on
// whichever thread it is handed to. Used by one thread at a time.

#include "core/ThreadSafeVariable.h"

#include <QImage>
#include <boost/shared_ptr.hpp>
#include <opencv2/core.hpp>

class CvToQtRescaler {
public:
    void SetHighQuality(bool high_quality);
    void SetSize(int width, int height);
    // Height follows from the source's aspect ratio (see HeightForWidth).
    void SetWidth(int width, cv::Size source);
    // Resizes the image to the target size into the kept buffer. An image of a type without
    // an RGB form is not read (Convert then gives a null image). False, and nothing kept,
    // when the target has no area.
    bool Shrink(const cv::Mat& image);
    // A new image of the last shrunk frame; a null QImage for types without an RGB form;
    // the empty pointer (and an ERROR line) before any Shrink.
    boost::shared_ptr<QImage> Convert();
    cv::Size GetSourceSize() const;
    // The kept buffer, for checks that it is reused.
    const cv::Mat& Buffer() const { return resized_; }

    // The height that shows an image of the given size at the given width; 0 when the size
    // has no area.
    static int HeightForWidth(int width, cv::Size source);

private:
    // What Shrink keeps for the cubic step: the source, at most twice the target each way.
    static cv::Size PickedSize(cv::Size source, cv::Size target);

    cv::Size source_size_;
    cv::Mat resized_;
    cv::Mat smoothed_;  // kept for the next Convert
    bool showable_ = false;
    bool shrunk_ = false;
    int target_width_ = 0;
    int target_height_ = 0;
    ThreadSafeVariable<bool> high_quality_{false};
};
