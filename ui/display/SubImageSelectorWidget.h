#pragma once
// Shows the video-in-video element's main frame and the box into which the second stream
// is placed; the user drags the box to move it and drags its corner handle to resize it.
// The box is kept inside the image, at least 10 pixels a side. Each new frame is scaled
// once to the widget; the widget keeps only the newest. Borrows the element's sub-image
// controls, which outlive the widget.

#include "ui/settings/GUISettingItem.h"

#include "core/CoordinateMapper.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QTimer>

class SubImageControls;

class SubImageSelectorWidget : public GUISettingItem {
    Q_OBJECT
public:
    static constexpr int kHandleSize = 20;
    static constexpr int kMinBoxSide = 10;

    SubImageSelectorWidget(SubImageControls* controls, QWidget* parent);

    // The box in widget pixels, and its resize handle inside its bottom-right corner.
    QRect BoxInWidget() const;
    QRect HandleInWidget() const;
    // The newest image at the widget's size, made once per image and per resize.
    const QImage& ScaledImage() const { return scaled_image_; }

protected slots:
    void SetImage();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // Both the image and the widget have an area; else the mouse is ignored.
    bool SizesValid() const;
    void UpdateMapper();
    void ScaleImage();
    cv::Point ImageOffset(QPoint offset) const;

    SubImageControls* controls_;
    bool pressed_ = false;
    bool moving_ = false;
    bool resizing_ = false;
    QPoint press_position_;
    int box_x_ = 0;
    int box_y_ = 0;
    int box_width_ = 0;
    int box_height_ = 0;
    CoordinateMapper mapper_;
    QTimer timer_;
    QImage last_image_;
    QImage scaled_image_;  // last_image_ at the widget's size
};
