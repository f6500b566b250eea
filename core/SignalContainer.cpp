#include "core/SignalContainer.h"

void SignalContainer::AddSignal(Signal* signal, const std::string& name)
{
    signals_.emplace_back(signal, name);
}

std::vector<SignalContainer::NamedSignal> SignalContainer::GetSignals() const
{
    return signals_;
}
