#include "ui/toolbar/CustomToolBar.h"

#include "ui/controls/StyledBackground.h"
#include "ui/toolbar/CameraBar.h"
#include "ui/toolbar/CpuGraph.h"
#include "ui/toolbar/EngineControlButtons.h"

CustomToolBar::CustomToolBar(QWidget* parent) : QToolBar(parent) {}

void CustomToolBar::Setup(boost::shared_ptr<ControlAndStatus> hub)
{
    hub_ = hub;
    engine_buttons_ = new EngineControlButtons(hub, this);
    camera_bar_ = new CameraBar(hub, this);
    cpu_graph_ = new CpuGraph(this);
    addWidget(camera_bar_);
    addWidget(cpu_graph_);
    // The camera bar's entry exists now, so even a tool bar without actions of its
    // own has a first entry to go before.
    insertWidget(actions().first(), engine_buttons_);
}

void CustomToolBar::paintEvent(QPaintEvent* event)
{
    PaintStyledBackground(this);
    QToolBar::paintEvent(event);
}
