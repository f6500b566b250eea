#include "elements/TeeElement.h"

#include <string>

#include <boost/make_shared.hpp>

#include "engine/MakeUnownedPtr.h"

TeeElement::TeeElement(boost::shared_ptr<ControlAndStatus> controls) : ElementFilter<VideoFrame>(controls)
{
    for (int index = 0; index < kCloneCount; ++index) {
        clone_pads_.push_back(boost::make_shared<BoltOnSource<VideoFrame>>());
        AddOutput(MakeUnownedPtr<Source<VideoFrame>>(clone_pads_.back().get()),
                  "cloned output " + std::to_string(index));
    }
}

TeeElement::~TeeElement() = default;

PassableItem<VideoFrame> TeeElement::Process(PassableItem<VideoFrame> item)
{
    for (int index = 0; index < kCloneCount; ++index) {
        if (IsCloneConnected(index))
            clone_pads_[index]->Push(item.DeepCopy());
    }
    return item;
}

bool TeeElement::IsCloneConnected(int index) const
{
    return clone_pads_.at(index)->IsConnected();
}
