#include "ui/toolbar/CpuGraph.h"

#include "core/Utilities.h"
#include "ui/controls/StyledBackground.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace {

int ColourChannel(double value)
{
    return std::clamp(static_cast<int>(value), 0, 255);
}

}  // namespace

CpuGraph::CpuGraph(QWidget* parent) : QWidget(parent), history_(200, 0.0), timer_(new QTimer(this))
{
    setFixedWidth(samples_ * pixels_per_sample_);
    connect(timer_, SIGNAL(timeout()), this, SLOT(AddPoint()));
    timer_->start(50);
}

QSize CpuGraph::sizeHint() const
{
    return QSize(samples_ * pixels_per_sample_, 0);
}

double CpuGraph::ScaledSample(double usage_percent)
{
    if (!std::isfinite(usage_percent) || usage_percent < 0.0)
        return 0.0;
    const double v = usage_percent / kFullScalePercent;
    if (v > 2.0)
        return 0.0;
    return std::min(v, 1.0);
}

void CpuGraph::AddSample(double usage_percent)
{
    history_.push_back(ScaledSample(usage_percent));
    while (static_cast<int>(history_.size()) > samples_)
        history_.pop_front();
    update();
}

void CpuGraph::AddPoint()
{
    AddSample(GetCpuUsage());
}

void CpuGraph::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    // Bars and line -> bars only -> line only -> nothing -> bars and line.
    if (show_bars_ && show_line_) {
        show_line_ = false;
    } else if (show_bars_) {
        show_bars_ = false;
        show_line_ = true;
    } else if (show_line_) {
        show_line_ = false;
    } else {
        show_bars_ = true;
        show_line_ = true;
    }
    update();
}

void CpuGraph::paintEvent(QPaintEvent*)
{
    PaintStyledBackground(this);
    QPainter painter(this);
    PaintSamples(painter);
    PaintFrame(painter);
}

void CpuGraph::PaintSamples(QPainter& painter)
{
    const int h = height();
    QPoint previous;
    for (std::size_t i = 0; i < history_.size(); ++i) {
        const double v = history_[i];
        const int y = static_cast<int>(h * (1.0 - v));
        const double cube = v * v * v;
        for (int p = 0; p < pixels_per_sample_; ++p) {
            const int x = static_cast<int>(i) * pixels_per_sample_ + p;
            if (show_bars_) {
                painter.setPen(QColor(ColourChannel(cube * 255.0), ColourChannel((1.0 - cube) * 150.0), 0));
                painter.drawLine(x, y, x, h);
            }
            if (show_line_ && (i > 0 || p > 0)) {
                painter.setPen(QColor(0, 0, 255));
                painter.drawLine(previous, QPoint(x, y));
            }
            previous = QPoint(x, y);
        }
    }
}

void CpuGraph::PaintFrame(QPainter& painter)
{
    const int w = width();
    const int h = height();
    painter.setPen(Qt::white);
    painter.drawLine(0, 0, 0, h);
    painter.drawLine(0, h - 1, w - 1, h - 1);
    painter.drawText(QRect(0, 0, w, h), Qt::AlignHCenter | Qt::AlignBottom, "CPU");
}
