#pragma once
// The live picture in an element's settings panel. Every 10 ms, while shown, it asks the
// element's preview controls for one image at its own width, no faster than the global
// preview rate and never while a request is pending; it keeps its height at the source's
// aspect ratio, shows the latest image, and hands clicked and dragged points back to the
// element. Borrows the preview controls (owned by the element, which outlives its panel).
// Where a scene shows the panel, an item of the scene may draw the picture instead
// (SetDrawnElsewhere): the widget then only takes each image and says so, and the scene
// repaints that item alone rather than the panel.

#include "ui/settings/GUISettingItem.h"

#include "core/StopWatch.h"

#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QTimer>
#include <boost/shared_ptr.hpp>

class ControlAndStatus;
class PreviewControls;
class PreviewSettings;

class PreviewWidget : public GUISettingItem {
    Q_OBJECT
public:
    PreviewWidget(boost::shared_ptr<ControlAndStatus> hub, PreviewControls* preview_controls,
                  QWidget* parent);

    // Seconds between requests for a rate in previews per second, held within 1..60.
    static double RequestInterval(double rate);
    // The height that shows an image of the given size at the given width; 0 when the
    // size has no area.
    static int HeightForWidth(int width, int image_width, int image_height);

    void SetDrawnElsewhere(bool elsewhere);
    // Device pixels per widget pixel where the picture is drawn: later images are made
    // that much wider, so that drawing one is a copy.
    void SetPixelRatio(double ratio);
    // The picture and the picked point's cross over rect(), in widget coordinates; an image
    // made for the painter's device size is copied unscaled.
    void DrawPicture(QPainter& painter) const;

signals:
    // Drawn elsewhere: a new image was taken, or the cross moved.
    void PictureChanged();

protected slots:
    void CheckForImages();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void FollowImageSize();
    void TakeReadyImage();
    void DrawImage(QPainter& painter, const QImage& image) const;
    void ShowChange();

    PreviewControls* preview_controls_;
    QTimer refresh_timer_;
    boost::shared_ptr<ControlAndStatus> hub_;
    boost::shared_ptr<QImage> current_image_;
    boost::shared_ptr<PreviewSettings> preview_settings_;
    StopWatch request_clock_;
    int last_image_width_ = 0;
    int last_image_height_ = 0;
    bool point_shown_ = false;
    QPoint point_;
    bool drawn_elsewhere_ = false;
    double pixel_ratio_ = 1.0;
};
