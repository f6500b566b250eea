#include "core/FrameRateSettings.h"

FrameRateSettings::FrameRateSettings() : ControlBaseClass("FrameRateSettings")
{
    settings.AddSetting("_limit_frame_rate", &limit_frame_rate, "");
    settings.AddSetting("_global_frame_rate", &global_frame_rate, "min=0.3, max=150");
}

FrameRateSettings::~FrameRateSettings() = default;
