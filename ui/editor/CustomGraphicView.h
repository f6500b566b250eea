// The view of the node editor's scene: zoom by 1.15 (buttons and wheel, about the
// pointer), fit, middle-button panning, right-button rubber-band selection, and the
// background picture drawn at the scene origin and repeated around it, so no bare
// view shows when the scene scrolls. It does not own the scene.
#pragma once

#include <QDeadlineTimer>
#include <QGraphicsView>
#include <QPixmap>

#include <vector>

#include <boost/shared_ptr.hpp>

class ControlAndStatus;

class CustomGraphicView : public QGraphicsView {
    Q_OBJECT
public:
    CustomGraphicView(boost::shared_ptr<ControlAndStatus> hub, QWidget* parent = nullptr);

    // A person has used the view (or placed a node in it): the view stays where it is.
    void StopFitting();
    bool FitsWhileItGrows() const;
    // The extent of the visible items, in scene coordinates.
    QRectF VisibleItemsRect() const;

public slots:
    void ZoomIn();
    void ZoomOut();
    // Shows every visible item inside the viewport, centred, whatever the scene
    // rectangle is (the view's own grows to take them in): hidden items (a closed
    // drop-down list's proxy, say) do not count.
    void FitScene();
    // Fits now and again whenever the nodes change their extent (previews take their
    // height from their first frame, panels their width from the node) or the view its
    // size, for `milliseconds`, until a person uses the view.
    void FitSceneWhileItGrows(int milliseconds);
    // The nodes (scene rectangles) cache their drawing in device pixels: those shown must fit
    // in the pixmap cache together, or they evict one another and each repaint draws whole
    // panels anew. Raises the process's cache limit to what they need at this scale.
    void ReserveItemCaches(const std::vector<QRectF>& nodes);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void drawBackground(QPainter* painter, const QRectF& rect) override;
    void changeEvent(QEvent* event) override;

private slots:
    void FitIfResized();

private:
    void FitOnce(const QRectF& area);
    void FollowBackgroundKind();

    boost::shared_ptr<ControlAndStatus> hub_;
    QDeadlineTimer fit_until_{0};
    QRectF fitted_;  // the items' extent at the last fit
    bool panning_ = false;
    bool left_down_ = false;
    bool right_down_ = false;
    bool middle_down_ = false;
    int last_x_ = 0;
    int last_y_ = 0;
    // The picture at the view's size above its mirror image, for seamless repeats;
    // remade when the view is resized.
    const QPixmap& BackgroundTile();

    // Loaded once: the background is drawn on every repaint.
    QPixmap background_;
    QPixmap tile_;
};
