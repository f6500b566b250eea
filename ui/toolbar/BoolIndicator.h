#pragma once
// An LED with a label. Given a variable, it follows it every 40 ms; without one it shows
// whatever its owner sets. The variable is borrowed and must outlive the indicator.

#include "core/ThreadSafeVariable.h"

#include <QWidget>

class LEDWidget;
class QHBoxLayout;
class QLabel;
class QTimer;

class BoolIndicator : public QWidget {
    Q_OBJECT
public:
    BoolIndicator(ThreadSafeVariable<bool>* variable, QWidget* parent = nullptr);

    void SetState(bool state);
    void SetLabel(const QString& text);
    LEDWidget* Led() const { return led_; }

public slots:
    void UpdateOnTimer();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ThreadSafeVariable<bool>* variable_;
    bool last_state_ = false;
    QTimer* timer_;
    QHBoxLayout* layout_;
    LEDWidget* led_;
    QLabel* label_;
};
