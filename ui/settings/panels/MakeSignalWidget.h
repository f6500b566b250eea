// Makes the push button of one named signal of a configurable object.
#pragma once

#include "core/SignalContainer.h"

#include <boost/shared_ptr.hpp>

class ControlAndStatus;
class QWidget;
class SignalCallingWidget;

// The button reads the signal's name as a label ("_take_image" -> "Take Image").
SignalCallingWidget* MakeSignalWidget(const SignalContainer::NamedSignal& signal,
                                      boost::shared_ptr<ControlAndStatus> hub, QWidget* parent);
