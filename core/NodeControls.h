#pragma once
// The node editor's chosen element type and its clear-editor signal; a shared record of the hub.

#include "core/ControlBaseClass.h"
#include "core/ThreadSafeVariable.h"

#include <boost/signals2/signal.hpp>

#include <string>

class NodeControls : public ControlBaseClass {
public:
    NodeControls();
    ~NodeControls() override;

    ThreadSafeVariable<std::string> chosen_element_type{std::string()};
    boost::signals2::signal<void()> clear_editor_signal;
};
