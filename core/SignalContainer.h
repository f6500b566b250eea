// The named push-button signals of a configurable object, in the order added. The
// signals belong to the object that added them; this list only points at them.
#pragma once

#include <boost/signals2/signal.hpp>

#include <string>
#include <utility>
#include <vector>

class SignalContainer {
public:
    using Signal = boost::signals2::signal<void()>;
    using NamedSignal = std::pair<Signal*, std::string>;

    void AddSignal(Signal* signal, const std::string& name);
    std::vector<NamedSignal> GetSignals() const;

private:
    std::vector<NamedSignal> signals_;
};
