#pragma once
// A frame whose height the user drags by its bottom edge. Within kEdge pixels of that
// edge, or while a drag is under way, the cursor shows the splitter shape. Nothing in
// the application builds it.

#include <QFrame>

class ElementWidgetBase : public QFrame {
    Q_OBJECT
public:
    static constexpr int kEdge = 5;

    explicit ElementWidgetBase(QWidget* parent = nullptr);

    bool IsResizing() const { return resizing_; }

public slots:
    // Sets the cursor from where the mouse is now.
    void CheckMouse();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool IsNearBottomEdge(const QPoint& position) const;

    bool resizing_ = false;
};
