#pragma once
// Per-element hand-over of preview images. The widget (GUI thread) requests an image of a width,
// the element's thread shrinks the next frame to that size into a buffer kept from frame to
// frame (so a preview costs that thread a preview-sized read, never a frame copy), a worker of
// the global pool turns it into the image the widget paints, and the widget takes it. The state
// the worker uses is shared with its task, so the element may be destroyed while one is in flight.

#include "core/ControlBaseClass.h"
#include "core/CoordinateMapper.h"
#include "core/CvToQtRescaler.h"
#include "core/FrameTypeWarning.h"
#include "core/ThreadSafeVariable.h"

#include <QImage>
#include <QPoint>
#include <boost/shared_ptr.hpp>
#include <boost/thread/mutex.hpp>
#include <opencv2/core.hpp>

class ControlAndStatus;
class PreviewSettings;

class PreviewControls : public ControlBaseClass {
public:
    explicit PreviewControls(boost::shared_ptr<ControlAndStatus> hub);
    ~PreviewControls() override;

    // Element side.
    void SubmitFrame(const cv::Mat& image);
    bool TakeSizeChanged();
    bool IsEnabled();
    void SetDisabled(bool disabled);

    // Widget side.
    // width in widget pixels, which clicked points are given in; the image is made
    // width x pixel_ratio pixels wide (a widget shown scaled asks for the pixels it covers).
    void RequestPreview(int width, double pixel_ratio = 1.0);
    bool IsPreviewWanted();
    bool IsImageReady();
    // The last finished image (empty pointer when none); maps the widget to its size.
    boost::shared_ptr<QImage> GetImage();
    cv::Size GetImageSize();
    void SetClickedPoint(QPoint point);
    void SetPoint(QPoint point);

    ThreadSafeVariable<bool> clicked{false};
    ThreadSafeVariable<cv::Point2d> selected_point{cv::Point2d(0.0, 0.0)};  // in image pixels

private:
    // Written by the rescale task, read by the element and the widget.
    struct HandOver {
        boost::mutex mutex;  // guards the four fields below
        bool busy = false;   // a rescale is in flight
        bool ready = false;  // finished holds an image the widget has not taken
        boost::shared_ptr<QImage> finished;
        cv::Size finished_source_size;
        // Not under the mutex: used only by whoever holds busy, the element thread from the
        // claim to the post, then the task.
        CvToQtRescaler rescaler;
    };

    static void RunRescale(const boost::shared_ptr<HandOver>& hand_over);
    // Claims the hand-over for a new rescale when one is wanted and none is in flight.
    bool BeginRescale();
    void EndRescale();
    void StoreImageSize(cv::Size size);
    cv::Point2d MapWidgetPoint(QPoint point);

    ThreadSafeVariable<bool> wanted_{false};
    boost::shared_ptr<ControlAndStatus> hub_;
    ThreadSafeVariable<cv::Size> image_size_{cv::Size(0, 0)};
    ThreadSafeVariable<bool> size_changed_{false};
    boost::shared_ptr<PreviewSettings> preview_settings_;
    ThreadSafeVariable<int> preview_width_{0};
    ThreadSafeVariable<int> image_width_{0};  // preview_width_ in image pixels
    boost::shared_ptr<HandOver> hand_over_;
    ThreadSafeVariable<bool> disabled_{false};
    boost::mutex mapper_mutex_;  // guards mapper_
    CoordinateMapper mapper_;
    FrameTypeWarning unshowable_types_;
};
