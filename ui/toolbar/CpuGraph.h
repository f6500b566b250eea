#pragma once
// A scrolling graph of the process's CPU use: the newest 200 samples, one every 50 ms,
// as coloured bars and a blue line on a scale of 0 to 520 percent. A left click cycles
// through bars and line, bars only, line only and nothing.

#include <QWidget>

#include <deque>

class QTimer;

class CpuGraph : public QWidget {
    Q_OBJECT
public:
    static constexpr double kFullScalePercent = 520.0;

    explicit CpuGraph(QWidget* parent = nullptr);

    // Appends one figure in percent of one processor and drops the oldest.
    void AddSample(double usage_percent);
    // The sample as plotted, 0 (idle) to 1 (full scale): failed or non-numeric figures
    // are 0, figures past twice the scale are taken as glitches (0), the rest is clamped.
    static double ScaledSample(double usage_percent);
    const std::deque<double>& History() const { return history_; }
    QSize sizeHint() const override;

public slots:
    void AddPoint();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void PaintSamples(QPainter& painter);
    void PaintFrame(QPainter& painter);

    std::deque<double> history_;
    int samples_ = 200;
    int pixels_per_sample_ = 1;
    QTimer* timer_;
    bool show_line_ = true;
    bool show_bars_ = true;
};
