// Draws the picture of a preview widget of a node's panel straight into the scene, over the
// widget's place in the panel. A new picture then repaints this small item alone: the panel,
// cached in device pixels, is neither rendered again nor recomposed through a buffer of its
// own. Mouse presses pass through to the widget below. A child item of the panel's proxy,
// whose coordinates are the panel's; borrows the widget, which the proxy's panel owns.
#pragma once

#include <QGraphicsObject>
#include <QPointer>

class PreviewWidget;
class QWidget;

class PanelPreviewItem : public QGraphicsObject {
    Q_OBJECT
public:
    // panel: the widget the proxy shows, an ancestor of preview.
    PanelPreviewItem(PreviewWidget* preview, QWidget* panel, QGraphicsItem* proxy);

    QRectF boundingRect() const override;
    // The widget's moves and resizes (its height follows the picture's aspect).
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

private slots:
    // Follows the widget's place and size, then repaints.
    void Follow();

private:
    QPointer<PreviewWidget> preview_;
    QPointer<QWidget> panel_;
    QRectF bounds_;   // the widget's rectangle, in its own coordinates
    QRectF visible_;  // the part of it its panel shows
};
