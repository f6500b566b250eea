#include "elements/FrameSyncronizer.h"

#include "engine/MakeUnownedPtr.h"

FrameSyncronizer::FrameSyncronizer(boost::shared_ptr<ControlAndStatus> controls)
    : FrameSyncElement<VideoFrame>(controls)
{
    settings.AddSetting("_buffers", &buffers_, "type=label");
    settings.AddSetting("_syncronize_by", &syncronize_by_, "items=[Frame number]");
    AddOutput(MakeUnownedPtr<Source<VideoFrame>>(&output_0_), "Output 0");
    AddOutput(MakeUnownedPtr<Source<VideoFrame>>(&output_1_), "Output 1");
}

FrameSyncronizer::~FrameSyncronizer() = default;

bool FrameSyncronizer::IsMatch(PassableItem<VideoFrame> from_input_0, PassableItem<VideoFrame> from_input_1)
{
    return syncronize_by_.Get() == 0 && from_input_0.data->frame_number == from_input_1.data->frame_number;
}

void FrameSyncronizer::EmitPair(PassableItem<VideoFrame> from_input_0, PassableItem<VideoFrame> from_input_1)
{
    output_0_.Push(from_input_0);
    output_1_.Push(from_input_1);
    buffers_.Set("Buffer 0 : " + std::to_string(BufferedCount0()) +
                 "\nBuffer 1 : " + std::to_string(BufferedCount1()));
}
