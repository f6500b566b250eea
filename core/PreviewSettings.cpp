#include "core/PreviewSettings.h"

PreviewSettings::PreviewSettings() : ControlBaseClass("PreviewSettings")
{
    settings.AddSetting("_max_preview_framerate", &max_preview_framerate, "min=1, max=60");
    settings.AddSetting("_high_quality_rescaling", &high_quality_rescaling, "");
}

PreviewSettings::~PreviewSettings() = default;
