#include "ui/display/GraphPipeWidget.h"

#include "ui/controls/StyledBackground.h"

#include <qcustomplot.h>

GraphPipeWidget::GraphPipeWidget(boost::shared_ptr<ControlAndStatus> hub,
                                 boost::shared_ptr<InternalPipe<GraphData>> pipe, QWidget* parent)
    : PipeWidgetBase(std::move(hub), parent), plot_(new QCustomPlot(this)), layout_(new QVBoxLayout(this)),
      pipe_(std::move(pipe))
{
    layout_->addWidget(plot_);
    setMinimumHeight(300);
    connect(&timer_, SIGNAL(timeout()), this, SLOT(TimerUpdate()));
    timer_.start(10);
}

void GraphPipeWidget::TimerUpdate()
{
    if (!pipe_) {
        return;
    }
    bool added = false;
    for (PassableItem<GraphData> item = pipe_->Pop(); item.IsValid(); item = pipe_->Pop()) {
        AddGraph(*item.data);
        added = true;
    }
    if (!added) {
        return;
    }
    plot_->xAxis->setLabel("x");
    plot_->yAxis->setLabel("y");
    plot_->rescaleAxes();
    plot_->yAxis->setScaleType(QCPAxis::stLinear);
    plot_->replot(QCustomPlot::rpQueuedReplot);
}

void GraphPipeWidget::AddGraph(const GraphData& data)
{
    if (data.clear) {
        plot_->clearGraphs();
    }
    while (plot_->graphCount() >= kMaxGraphs) {
        plot_->removeGraph(0);
    }
    QCPGraph* graph = plot_->addGraph();
    graph->setData(QVector<double>(data.x.begin(), data.x.end()),
                   QVector<double>(data.y.begin(), data.y.end()));
}

void GraphPipeWidget::paintEvent(QPaintEvent*)
{
    PaintStyledBackground(this);
}
