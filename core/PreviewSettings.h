#pragma once
// Process-wide preview rate and rescaling quality; a shared record of the hub's registry.

#include "core/ControlBaseClass.h"
#include "core/ThreadSafeVariable.h"

class PreviewSettings : public ControlBaseClass {
public:
    PreviewSettings();
    ~PreviewSettings() override;

    ThreadSafeVariable<bool> high_quality_rescaling{true};
    ThreadSafeVariable<double> max_preview_framerate{25.0};  // previews per second
};
