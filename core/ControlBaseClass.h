// Base of every configurable object: a name (published as "_setting_name"), the settings
// container, the named push-button signals, and the settings-changed signal and flag
// through which the user interface tells the object its settings were edited. The
// container never emits the signal or raises the flag itself.
#pragma once

#include "core/ParameterContainer.h"
#include "core/SignalContainer.h"
#include "core/ThreadSafeVariable.h"

#include <boost/shared_ptr.hpp>
#include <boost/signals2/signal.hpp>
#include <boost/thread/mutex.hpp>

#include <string>
#include <vector>

class PipeBase_;

class ControlBaseClass {
public:
    // Registers "_setting_name" twice, both pointing at the name: with descriptor "" and
    // then with "type=hidden".
    explicit ControlBaseClass(std::string name);
    ControlBaseClass(const ControlBaseClass&) = delete;
    ControlBaseClass& operator=(const ControlBaseClass&) = delete;
    virtual ~ControlBaseClass();

    // A copy of the display-pipe list, taken under its mutex.
    std::vector<boost::shared_ptr<PipeBase_>> GetDisplayPipes() const;

    // Declared first so that the items go last, after everything they point at here.
    ParameterContainer settings;

private:
    std::vector<boost::shared_ptr<PipeBase_>> display_pipes_;
    mutable boost::mutex display_pipes_mutex_;  // guards display_pipes_

public:
    SignalContainer signal_container;
    std::string name;
    boost::signals2::signal<void()> settings_changed_signal;
    ThreadSafeVariable<bool> settings_changed_flag{true};
};
