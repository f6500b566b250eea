// Draws the latest preview image inside a preview node, scaled to its width with the
// image's aspect ratio; double-clicks widen (left) or narrow (right) it, never below
// 100. A child item of its node.
#pragma once

#include "core/PassableItem.h"

#include <QGraphicsItem>
#include <QImage>
#include <QRectF>

#include <boost/shared_ptr.hpp>

class ControlAndStatus;

class PreviewGraphicsItem : public QGraphicsItem {
public:
    PreviewGraphicsItem(boost::shared_ptr<ControlAndStatus> hub, QGraphicsItem* parent);

    // An invalid or empty image is ignored: it has no aspect ratio to keep.
    void SetImage(const PassableItem<QImage>& image);
    void SetWidth(double width);
    double Width() const { return width_; }

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

protected:
    void mouseDoubleClickEvent(QGraphicsSceneMouseEvent* event) override;

private:
    void Resize(double width);

    boost::shared_ptr<ControlAndStatus> hub_;
    PassableItem<QImage> image_;
    QRectF draw_rect_;
    double aspect_ratio_ = 1.0;
    double width_ = 300.0;
};
