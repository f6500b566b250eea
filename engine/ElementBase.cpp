#include "engine/ElementBase.h"

#include <boost/thread/lock_guard.hpp>

#include "core/ControlAndStatus.h"
#include "core/FILELog.h"

ElementBase::ElementBase(boost::shared_ptr<ControlAndStatus> context_in)
    : ControlBaseClass("un_named"), controls(new ControlBaseClass("No Controls")),
      context(std::move(context_in)), tick_target_(new TickTarget)
{
    settings.AddSetting("_position_x", &position_x, "type=hidden");
    settings.AddSetting("_position_y", &position_y, "type=hidden");

    connections.emplace_back(settings_changed_signal.connect([this] { SettingsSignalled(); }));
    if (context) {
        boost::shared_ptr<TickTarget> target = tick_target_;
        connections.emplace_back(context->tick_signal.connect([target] { RunTick(target); }));
    }
}

ElementBase::~ElementBase()
{
    StopOneSecondTicks();
}

void ElementBase::RunTick(const boost::shared_ptr<TickTarget>& target)
{
    boost::lock_guard<boost::mutex> lock(target->mutex);
    if (target->element)
        target->element->OnOneSecondTick();
}

void ElementBase::StartOneSecondTicks()
{
    boost::lock_guard<boost::mutex> lock(tick_target_->mutex);
    tick_target_->element = this;
}

void ElementBase::StopOneSecondTicks()
{
    boost::lock_guard<boost::mutex> lock(tick_target_->mutex);
    tick_target_->element = nullptr;
}

void ElementBase::AddInput(boost::shared_ptr<SinkBase> pad, std::string name)
{
    if (!pad) {
        FILE_LOG(logERROR) << "Could not cast sink";
        return;
    }
    pad->pad_name.Set(name.empty() ? "Input " + std::to_string(inputs_.size()) : name);
    inputs_.push_back(pad);
}

void ElementBase::AddOutput(boost::shared_ptr<SourceBase> pad, std::string name)
{
    if (!pad) {
        FILE_LOG(logERROR) << "Could not cast source";
        return;
    }
    pad->pad_name.Set(name.empty() ? "Output " + std::to_string(outputs_.size()) : name);
    outputs_.push_back(pad);
}

std::vector<boost::shared_ptr<SinkBase>> ElementBase::GetInputs() const
{
    return inputs_;
}

std::vector<boost::shared_ptr<SourceBase>> ElementBase::GetOutputs() const
{
    return outputs_;
}

std::vector<boost::shared_ptr<PadBase>> ElementBase::GetAllPads() const
{
    std::vector<boost::shared_ptr<PadBase>> pads(outputs_.begin(), outputs_.end());
    pads.insert(pads.end(), inputs_.begin(), inputs_.end());
    return pads;
}

boost::shared_ptr<SinkBase> ElementBase::GetInputByName(const std::string& name) const
{
    for (const boost::shared_ptr<SinkBase>& pad : inputs_) {
        if (pad->pad_name.Get() == name)
            return pad;
    }
    throw 0;
}

boost::shared_ptr<SourceBase> ElementBase::GetOutputByName(const std::string& name) const
{
    for (const boost::shared_ptr<SourceBase>& pad : outputs_) {
        if (pad->pad_name.Get() == name)
            return pad;
    }
    throw 0;
}

std::string ElementBase::GetId() const
{
    return id_.Get();
}

std::string ElementBase::GetType() const
{
    return type_.Get();
}

std::string ElementBase::GetDescription() const
{
    return description_.Get();
}

void ElementBase::SetId(const std::string& new_id)
{
    id_.Set(new_id);
    for (const boost::shared_ptr<PadBase>& pad : GetAllPads())
        pad->owner_element_id.Set(new_id);
}

void ElementBase::SetType(const std::string& new_type)
{
    type_.Set(new_type);
    name = new_type;
}

void ElementBase::SetDescription(const std::string& new_description)
{
    description_.Set(new_description);
}

void ElementBase::RequestLayoutUpdate()
{
    layout_update_requested.Set(true);
}
