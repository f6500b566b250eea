// "Tee": passes each frame on through "output" and gives every connected
// "cloned output <n>" its own deep copy, so downstream branches can change
// their frames in place independently. The element owns its clone pads.
#pragma once

#include <vector>

#include <boost/shared_ptr.hpp>

#include "core/VideoFrame.h"
#include "engine/BoltOnSource.h"
#include "engine/ElementFilter.h"

class ControlAndStatus;

class TeeElement : public ElementFilter<VideoFrame> {
public:
    explicit TeeElement(boost::shared_ptr<ControlAndStatus> controls);
    ~TeeElement() override;

    PassableItem<VideoFrame> Process(PassableItem<VideoFrame> item) override;

    bool IsCloneConnected(int index) const;

private:
    static constexpr int kCloneCount = 4;
    std::vector<boost::shared_ptr<BoltOnSource<VideoFrame>>> clone_pads_;
};
