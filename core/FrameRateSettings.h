#pragma once
// Process-wide frame pacing of every connection; a shared record of the hub's registry.

#include "core/ControlBaseClass.h"
#include "core/ThreadSafeVariable.h"

class FrameRateSettings : public ControlBaseClass {
public:
    FrameRateSettings();
    ~FrameRateSettings() override;

    ThreadSafeVariable<bool> limit_frame_rate{false};
    ThreadSafeVariable<double> global_frame_rate{30.0};  // frames per second
};
