#pragma once
// Plots the GraphData items an element pushes into its pipe. Every 10 ms it drains the
// pipe and replots once; it keeps at most kMaxGraphs plots, dropping the oldest.
// Shares the pipe with the element; owns its plot.

#include "core/GraphData.h"
#include "core/InternalPipe.h"
#include "ui/display/PipeWidgetBase.h"

#include <QTimer>
#include <QVBoxLayout>
#include <boost/shared_ptr.hpp>

class QCustomPlot;

class GraphPipeWidget : public PipeWidgetBase {
    Q_OBJECT
public:
    static constexpr int kMaxGraphs = 16;

    GraphPipeWidget(boost::shared_ptr<ControlAndStatus> hub, boost::shared_ptr<InternalPipe<GraphData>> pipe,
                    QWidget* parent);

    QCustomPlot* Plot() const { return plot_; }

protected slots:
    void TimerUpdate();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void AddGraph(const GraphData& data);

    QCustomPlot* plot_;
    QVBoxLayout* layout_;
    QTimer timer_;
    boost::shared_ptr<InternalPipe<GraphData>> pipe_;
};
