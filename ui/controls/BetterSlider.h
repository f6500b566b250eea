#pragma once
// A horizontal slider that jumps to the clicked position and can stand for a
// floating-point range (a fixed number of slider units across the range).
// Knows nothing of settings: it holds a position and emits Qt signals.

#include <QSlider>

class BetterSlider : public QSlider {
    Q_OBJECT
public:
    explicit BetterSlider(QWidget* parent = nullptr);

    void SetDoubleMode(bool on);
    bool IsDoubleMode() const { return double_mode_; }
    // In integer mode the bounds become the integer range (truncated toward zero).
    void SetDoubleRange(double minimum, double maximum);
    // Position for v, truncated toward zero and held inside the slider's range.
    void SetDoubleValue(double value);
    void SetJumpToClick(bool on) { jump_to_click_ = on; }
    // True between a left press handled by the jump rule and its release.
    bool IsPressed() const { return pressed_; }

signals:
    void DoubleChanged(double value);
    void IntChanged(int value);

public slots:
    void EmitValue(int value);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void ApplyRange();
    int PositionFromPoint(const QPoint& point) const;

    bool pressed_ = false;
    bool jump_to_click_ = true;
    bool double_mode_ = false;
    double step_ = 1.0;
    int resolution_ = 100000;
    int int_minimum_ = 0;
    int int_maximum_ = 100;
    double double_minimum_ = 0.0;
    double double_maximum_ = 100.0;
};
