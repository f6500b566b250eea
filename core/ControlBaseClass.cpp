#include "core/ControlBaseClass.h"

#include <boost/thread/lock_guard.hpp>

#include <utility>

ControlBaseClass::ControlBaseClass(std::string object_name) : name(std::move(object_name))
{
    settings.AddSetting("_setting_name", &name, "");
    settings.AddSetting("_setting_name", &name, "type=hidden");
}

ControlBaseClass::~ControlBaseClass() = default;

std::vector<boost::shared_ptr<PipeBase_>> ControlBaseClass::GetDisplayPipes() const
{
    boost::lock_guard<boost::mutex> lock(display_pipes_mutex_);
    return display_pipes_;
}
