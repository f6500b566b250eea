#include "ui/settings/panels/MakePipeWidget.h"

#include "core/GraphData.h"
#include "core/InternalPipe.h"
#include "ui/display/GraphPipeWidget.h"

#include <boost/pointer_cast.hpp>

PipeWidgetBase* MakePipeWidget(boost::shared_ptr<PipeBase_> pipe, QWidget* parent,
                               boost::shared_ptr<ControlAndStatus> hub)
{
    auto graph_pipe = boost::dynamic_pointer_cast<InternalPipe<GraphData>>(pipe);
    if (!graph_pipe)
        return nullptr;
    return new GraphPipeWidget(hub, graph_pipe, parent);
}
