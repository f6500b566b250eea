// Makes the widget that shows one display pipe of a configurable object; only graph
// pipes have one.
#pragma once

#include <boost/shared_ptr.hpp>

class ControlAndStatus;
class PipeBase_;
class PipeWidgetBase;
class QWidget;

// Null for a null pipe and for pipes of any payload other than GraphData.
PipeWidgetBase* MakePipeWidget(boost::shared_ptr<PipeBase_> pipe, QWidget* parent,
                               boost::shared_ptr<ControlAndStatus> hub);
