// "Frame Syncronizer": pairs the frames of "input 0" and "input 1" that carry
// the same frame number and sends each pair out on "Output 0" and "Output 1".
// Buffering and pairing are FrameSyncElement's, on input 0's connection thread;
// this element owns the match rule, its two output pads and its settings.
#pragma once

#include <string>

#include "core/ThreadSafeVariable.h"
#include "core/VideoFrame.h"
#include "engine/BoltOnSource.h"
#include "engine/FrameSyncElement.h"

class ControlAndStatus;

class FrameSyncronizer : public FrameSyncElement<VideoFrame> {
public:
    explicit FrameSyncronizer(boost::shared_ptr<ControlAndStatus> controls);
    ~FrameSyncronizer() override;

    // Same frame number, while synchronising by frame number (the only rule).
    bool IsMatch(PassableItem<VideoFrame> from_input_0, PassableItem<VideoFrame> from_input_1) override;
    // Waits while a previous pair has not been taken from an output.
    void EmitPair(PassableItem<VideoFrame> from_input_0, PassableItem<VideoFrame> from_input_1) override;

private:
    // Read-only status text for the settings panel.
    ThreadSafeVariable<std::string> buffers_;
    // 0: by frame number.
    ThreadSafeVariable<int> syncronize_by_{0};
    BoltOnSource<VideoFrame> output_0_;
    BoltOnSource<VideoFrame> output_1_;
};
