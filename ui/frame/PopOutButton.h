#pragma once
// The thin bar at the top of a pop-out frame; a click moves the panel into a window of
// its own or back.

#include <QWidget>

class PopOutButton : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMaxHeight = 10;

    explicit PopOutButton(QWidget* parent = nullptr);
    // As high as it may be: the bar must be there to click.
    QSize sizeHint() const override;

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool pressed_ = false;
    // Never set: the frame, not its button, knows whether the panel is out.
    bool popped_out_ = false;
};
