#pragma once
// Hand-over between the main display element (which pushes rescaled frames on its thread) and
// its window (which pops them on the GUI thread). Shared by the element and the window.

#include "core/ControlBaseClass.h"
#include "core/CvToQtRescaler.h"
#include "core/FrameQueue.h"
#include "core/FrameTypeWarning.h"
#include "core/PassableItem.h"
#include "core/ThreadSafeVariable.h"

#include <QByteArray>
#include <QImage>
#include <opencv2/core.hpp>

#include <string>

class MainDisplayControls : public ControlBaseClass {
public:
    MainDisplayControls();
    ~MainDisplayControls() override;

    ThreadSafeVariable<bool> window_exists{false};
    ThreadSafeVariable<bool> element_alive{false};

    // Rescales to the display size, in the format the window paints, and queues the image;
    // waits while the previous one is queued. Element thread only.
    // An image of a type without an RGB form is queued as a null image, with one warning a type.
    void PushFrame(const cv::Mat& image);
    PassableItem<QImage> PopImage();
    bool HasImage();
    double GetAspectRatio();
    // Each side is kept at least 1.
    void SetDisplaySize(int width, int height);

    // The window's saved geometry; stored as Base64 text, since a value's text form ends at NUL.
    // GUI thread only.
    void SetWindowGeometry(const QByteArray& geometry);
    QByteArray GetWindowGeometry() const;

private:
    std::string window_geometry_;
    FrameQueue<QImage> image_queue_{1};
    ThreadSafeVariable<int> display_width_{640};
    ThreadSafeVariable<int> display_height_{480};
    ThreadSafeVariable<int> image_width_{640};
    ThreadSafeVariable<int> image_height_{480};
    FrameTypeWarning unshowable_types_;
    CvToQtRescaler rescaler_;  // element thread only; keeps its buffer from frame to frame
};
