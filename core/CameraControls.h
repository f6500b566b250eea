#pragma once
// Frame figures of the live source, shown in the tool bar; a shared record of the hub's registry.

#include "core/ControlBaseClass.h"
#include "core/ThreadSafeVariable.h"

class CameraControls : public ControlBaseClass {
public:
    CameraControls();
    ~CameraControls() override;

    ThreadSafeVariable<double> frame_rate{0.0};    // frames produced during the last second
    ThreadSafeVariable<long long> frame_count{0};  // frames produced so far
};
