#include "control/ElementTester.h"

#include "control/ElementIdMaker.h"
#include "control/TestPaternGenerator.h"
#include "core/ControlAndStatus.h"
#include "core/FILELog.h"
#include "core/SharedGUI.h"
#include "core/VideoFrame.h"
#include "engine/ElementBase.h"
#include "engine/FakeSink.h"

#include <boost/chrono.hpp>
#include <boost/thread/thread.hpp>

ElementTester::ElementTester(boost::shared_ptr<ControlAndStatus> context,
                             boost::shared_ptr<ElementBase> element)
    : ControlBaseClass("ElementTester"), context_(context), element_(std::move(element)), manager_(context),
      table_(manager_)
{
    FILE_LOG(logDEBUG) << "Testing element : " << element_->GetType();
    element_->SetId(ElementIdMaker(&table_).MakeUniqueId(element_->GetType()));
    ConnectUp();
}

ElementTester::~ElementTester() = default;

void ElementTester::ConnectUp()
{
    FILE_LOG(logDEBUG) << "Connecting up sinks";
    ConnectSinks();
    FILE_LOG(logDEBUG) << "Connecting up Sources";
    ConnectSources();
}

void ElementTester::AddToRig(const boost::shared_ptr<ElementBase>& rig_element, const std::string& base_name)
{
    // The rig's base names are no catalogue names, so no id meets the element under test's.
    rig_element->SetId(ElementIdMaker(&table_).MakeUniqueId(base_name));
    table_.AddElement(rig_element);
}

void ElementTester::ConnectSinks()
{
    for (const boost::shared_ptr<SinkBase>& input : element_->GetInputs()) {
        const std::string type = input->GetTypeName();
        FILE_LOG(logDEBUG) << "Found sink of type " << type;
        if (type != VideoFrame::GetTypeName())
            continue;
        boost::shared_ptr<TestPaternGenerator> pattern(new TestPaternGenerator(context_));
        AddToRig(pattern, "Test Pattern");
        manager_.Connect(pattern->GetOutputs().front(), input, nullptr, boost::shared_ptr<ElementBase>(),
                         boost::shared_ptr<ElementBase>());
        FILE_LOG(logDEBUG) << "Connected to test pattern";
    }
}

void ElementTester::ConnectSources()
{
    for (const boost::shared_ptr<SourceBase>& output : element_->GetOutputs()) {
        const std::string type = output->GetTypeName();
        FILE_LOG(logDEBUG) << "Found souce of type " << type;
        if (type != VideoFrame::GetTypeName())
            continue;
        boost::shared_ptr<FakeSink<VideoFrame>> sink(new FakeSink<VideoFrame>(context_));
        AddToRig(sink, "Fake Sink");
        manager_.Connect(output, sink->GetInputs().front(), nullptr, boost::shared_ptr<ElementBase>(),
                         boost::shared_ptr<ElementBase>());
        FILE_LOG(logDEBUG) << "Connected to fake sink";
    }
}

void ElementTester::Run()
{
    if (SharedGUI* shared_gui = context_ ? context_->GetSharedGUI() : nullptr)
        emit shared_gui->UpdateGUIFromBackend();
    manager_.StartAll();
    boost::this_thread::sleep_until(boost::chrono::steady_clock::now() +
                                    boost::chrono::nanoseconds(1000000000));
    manager_.StopAll();
    LogFrameCounts();
    manager_.DisconnectAll();
    table_.Clear();
}

void ElementTester::LogFrameCounts() const
{
    for (const boost::shared_ptr<SinkBase>& input : element_->GetInputs()) {
        if (input->IsConnected())
            LogFrameCount(*input);
    }
    for (const boost::shared_ptr<SourceBase>& output : element_->GetOutputs()) {
        if (output->IsConnected())
            LogFrameCount(*output);
    }
}

void ElementTester::LogFrameCount(PadBase& pad)
{
    FILE_LOG(logDEBUG) << "Frame count of " << pad.pad_name.Get() << " : " << pad.frame_count.Get();
}
