#pragma once
// The black window of one main display element. Every 3 ms it takes the next frame the
// element queued (already rescaled to the window's picture size), draws it centred, and
// tells the element the picture size that fits the window at the frame's aspect ratio.
// Closing the window hides it; it keeps draining the queue so the pipeline never waits
// on it, and Show brings it back. It deletes itself once the element is gone. Shares
// the controls record with the element; stores its geometry in that record.

#include "core/MainDisplayControls.h"
#include "core/PassableItem.h"

#include <QImage>
#include <QSize>
#include <QTimer>
#include <QWidget>
#include <boost/shared_ptr.hpp>

class ControlAndStatus;

class MainDisplayWidget : public QWidget {
    Q_OBJECT
public:
    MainDisplayWidget(boost::shared_ptr<ControlAndStatus> hub,
                      boost::shared_ptr<MainDisplayControls> controls, QWidget* parent);
    ~MainDisplayWidget() override;

    // Shows and raises the window of these controls, making it when there is none.
    static MainDisplayWidget* Show(const boost::shared_ptr<ControlAndStatus>& hub,
                                   const boost::shared_ptr<MainDisplayControls>& controls);
    static MainDisplayWidget* Find(const MainDisplayControls* controls);

    // The picture size for a window of the given size and a frame aspect ratio;
    // each side at least 1.
    static QSize DisplaySize(QSize window, double aspect);

protected slots:
    void CheckForImages();
    void DrawImage();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void StoreGeometry();

    boost::shared_ptr<ControlAndStatus> hub_;
    QTimer poll_timer_;
    boost::shared_ptr<MainDisplayControls> controls_;
    PassableItem<QImage> current_image_;
};
