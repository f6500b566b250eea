#include "ui/editor/CustomGraphicView.h"

#include <QEvent>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmapCache>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <climits>

namespace {

constexpr double kZoomStep = 1.15;
// Pixels left free around the fitted items.
constexpr int kFitMargin = 4;
// Cached layers per node (outline and panel; texts and ports are small), and room for nodes
// that come and go.
constexpr qint64 kLayersPerNode = 2;
constexpr double kCacheRoom = 1.25;
// An item much larger than the view caches only the part around it.
constexpr double kPartialCacheFactor = 1.2;

}  // namespace

CustomGraphicView::CustomGraphicView(boost::shared_ptr<ControlAndStatus> hub, QWidget* parent)
    : QGraphicsView(parent), hub_(std::move(hub)), background_(QStringLiteral(":/images/background.png"))
{
    setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    FollowBackgroundKind();
}

void CustomGraphicView::ZoomIn()
{
    StopFitting();
    scale(kZoomStep, kZoomStep);
    resetCachedContent();
}

void CustomGraphicView::ZoomOut()
{
    StopFitting();
    scale(1.0 / kZoomStep, 1.0 / kZoomStep);
    resetCachedContent();
}

void CustomGraphicView::FitScene()
{
    if (!scene())
        return;
    fitted_ = VisibleItemsRect();
    if (fitted_.isEmpty())
        return;
    // Scroll bars that come or go with the new scale change the viewport: fit again.
    for (int pass = 0; pass < 2; ++pass) {
        const QSize before = viewport()->size();
        FitOnce(fitted_);
        if (viewport()->size() == before)
            break;
    }
}

void CustomGraphicView::FitOnce(const QRectF& area)
{
    const QRectF room = QRectF(viewport()->rect()).adjusted(kFitMargin, kFitMargin, -kFitMargin, -kFitMargin);
    if (room.isEmpty())
        return;
    const double scale = std::min(room.width() / area.width(), room.height() / area.height());
    setTransform(QTransform::fromScale(scale, scale));
    resetCachedContent();
    // The view scrolls only within its scene rectangle: it must reach the area's centre.
    QRectF shown(QPointF(), QSizeF(viewport()->width() / scale, viewport()->height() / scale));
    shown.moveCenter(area.center());
    setSceneRect(QRectF());
    if (!sceneRect().contains(shown))
        setSceneRect(sceneRect().united(shown));
    centerOn(area.center());
}

QRectF CustomGraphicView::VisibleItemsRect() const
{
    QRectF extent;
    if (!scene())
        return extent;
    for (const QGraphicsItem* item : scene()->items()) {
        if (item->isVisible())
            extent |= item->sceneBoundingRect();
    }
    return extent;
}

bool CustomGraphicView::FitsWhileItGrows() const
{
    return !fit_until_.hasExpired();
}

void CustomGraphicView::FitSceneWhileItGrows(int milliseconds)
{
    FitScene();
    if (!scene())
        return;
    fit_until_.setRemainingTime(milliseconds);
    connect(scene(), &QGraphicsScene::changed, this, &CustomGraphicView::FitIfResized, Qt::UniqueConnection);
}

void CustomGraphicView::FitIfResized()
{
    if (fit_until_.hasExpired()) {
        StopFitting();
        return;
    }
    if (VisibleItemsRect() != fitted_)
        FitScene();
}

void CustomGraphicView::StopFitting()
{
    fit_until_.setRemainingTime(0);
    if (scene())
        disconnect(scene(), &QGraphicsScene::changed, this, &CustomGraphicView::FitIfResized);
}

void CustomGraphicView::mousePressEvent(QMouseEvent* event)
{
    StopFitting();
    switch (event->button()) {
    case Qt::LeftButton:
        QGraphicsView::mousePressEvent(event);
        left_down_ = true;
        break;
    case Qt::RightButton:
        if (left_down_)
            break;
        setDragMode(QGraphicsView::RubberBandDrag);
        QGraphicsView::mousePressEvent(event);
        right_down_ = true;
        break;
    case Qt::MiddleButton:
        panning_ = true;
        last_x_ = event->x();
        last_y_ = event->y();
        middle_down_ = true;
        break;
    default:
        break;
    }
}

void CustomGraphicView::mouseMoveEvent(QMouseEvent* event)
{
    if (panning_) {
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + (last_x_ - event->x()));
        verticalScrollBar()->setValue(verticalScrollBar()->value() + (last_y_ - event->y()));
        last_x_ = event->x();
        last_y_ = event->y();
        event->accept();
        return;
    }
    QGraphicsView::mouseMoveEvent(event);
    event->ignore();
}

void CustomGraphicView::mouseReleaseEvent(QMouseEvent* event)
{
    switch (event->button()) {
    case Qt::LeftButton:
        QGraphicsView::mouseReleaseEvent(event);
        left_down_ = false;
        break;
    case Qt::RightButton:
        QGraphicsView::mouseReleaseEvent(event);
        right_down_ = false;
        break;
    case Qt::MiddleButton:
        panning_ = false;
        setCursor(Qt::ArrowCursor);
        middle_down_ = false;
        break;
    default:
        break;
    }
    if (!left_down_ && !right_down_ && !middle_down_) {
        setDragMode(QGraphicsView::NoDrag);
        panning_ = false;
        setCursor(Qt::ArrowCursor);
    }
}

void CustomGraphicView::wheelEvent(QWheelEvent* event)
{
    // A horizontal scroll has no vertical delta and is no zoom request.
    const int delta = event->angleDelta().y();
    if (delta == 0)
        return;
    setTransformationAnchor(QGraphicsView::AnchorUnderMouse);
    if (delta > 0)
        ZoomIn();
    else
        ZoomOut();
}

void CustomGraphicView::resizeEvent(QResizeEvent* event)
{
    QGraphicsView::resizeEvent(event);
    // A window shown maximised or placed by the window manager gets its size after the fit.
    if (FitsWhileItGrows())
        FitScene();
}

void CustomGraphicView::changeEvent(QEvent* event)
{
    QGraphicsView::changeEvent(event);
    if (event->type() == QEvent::StyleChange)
        FollowBackgroundKind();
}

void CustomGraphicView::FollowBackgroundKind()
{
    // The repeated picture, scaled with the view, is drawn once into a view-sized buffer: a
    // repaint beneath a live preview copies it instead of filtering the picture again. A view
    // with a background of its own shows that around the picture, which the buffer would hide.
    setCacheMode(styleSheet().isEmpty() ? QGraphicsView::CacheBackground : QGraphicsView::CacheNone);
}

void CustomGraphicView::drawBackground(QPainter* painter, const QRectF& rect)
{
    // In scene coordinates: the picture sits at the origin, spans the view's size and
    // moves with the scene. A view given a background of its own shows that around the
    // picture; otherwise the picture's repeats fill the rest of the exposed area.
    if (!styleSheet().isEmpty()) {
        painter->drawPixmap(QRectF(0, 0, width(), height()), background_, QRectF(background_.rect()));
        return;
    }
    painter->fillRect(rect, QBrush(BackgroundTile()));
}

const QPixmap& CustomGraphicView::BackgroundTile()
{
    const QSize size(std::max(width(), 1), std::max(height(), 1));
    if (tile_.width() == size.width() && tile_.height() == 2 * size.height())
        return tile_;
    // Mirrored below, the picture's vertical shading runs on without a seam.
    const QImage picture =
        background_.toImage().scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    tile_ = QPixmap(size.width(), 2 * size.height());
    QPainter painter(&tile_);
    painter.drawImage(0, 0, picture);
    painter.drawImage(0, size.height(), picture.mirrored(false, true));
    return tile_;
}

void CustomGraphicView::ReserveItemCaches(const std::vector<QRectF>& nodes)
{
    const QSizeF largest = QSizeF(viewport()->size()) * kPartialCacheFactor;
    qint64 bytes = 0;
    for (const QRectF& node : nodes) {
        const QSizeF size = mapFromScene(node).boundingRect().size();
        bytes += static_cast<qint64>(std::min(size.width(), largest.width()) *
                                     std::min(size.height(), largest.height())) *
                 4 * kLayersPerNode;
    }
    const qint64 kilobytes = static_cast<qint64>(static_cast<double>(bytes) * kCacheRoom / 1024);
    if (kilobytes > QPixmapCache::cacheLimit())
        QPixmapCache::setCacheLimit(static_cast<int>(std::min<qint64>(kilobytes, INT_MAX)));
}
