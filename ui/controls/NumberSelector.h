#pragma once
// A number that the user changes by holding the left button and moving the mouse
// up (faster the further) or down. A right double click toggles rounding to whole
// numbers. Knows nothing of settings: it holds a value and emits Qt signals.

#include <QPoint>
#include <QWidget>

class QLabel;
class QTimer;

class NumberSelector : public QWidget {
    Q_OBJECT
public:
    explicit NumberSelector(QWidget* parent = nullptr);

    void SetIntMode(bool on);
    double Value() const { return value_; }
    // Half up, also for negative values: -2.5 gives -2, 2.5 gives 3.
    double RoundedValue() const;
    bool IsDragging() const { return dragging_; }
    // The value when the left button last went down.
    double ValueAtPress() const { return value_at_press_; }
    // The label's text, as a person reads it.
    QString Text() const;

signals:
    void ValueChanged(double value);
    void ValueChanged(int value);

public slots:
    void setValue(double value);
    void UpdateValue();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // Pixels the cursor is above the press point (negative below).
    double Distance() const;
    void ShowLabel();
    // Shows the value and emits it when what is emitted would differ from last time.
    void Show();

    bool dragging_ = false;
    QLabel* display_;
    double value_ = 0.0;
    double value_at_press_ = 0.0;
    double dead_zone_ = 10.0;
    QPoint press_position_;
    QPoint cursor_position_;
    QTimer* drag_timer_;
    bool int_mode_ = false;
    bool rounding_ = false;
    bool has_emitted_ = false;
    double last_emitted_ = 0.0;
};
