#include "control/ElementScanner.h"

#include "control/ElementRegistry.h"
#include "control/ElementTester.h"
#include "core/FILELog.h"
#include "engine/ElementBase.h"

#include <boost/thread/exceptions.hpp>
#include <boost/thread/thread.hpp>

ElementScanner::ElementScanner(boost::shared_ptr<ControlAndStatus> context)
    : ControlBaseClass("ElementScanner"), context_(std::move(context))
{
}

ElementDescription ElementScanner::DescribeElement(const boost::shared_ptr<ElementBase>& element)
{
    ElementDescription description;
    description.name = element->GetType();
    for (const boost::shared_ptr<SinkBase>& input : element->GetInputs())
        description.pads.push_back(PadDescription{input->pad_name.Get(), input->GetTypeName(), true});
    for (const boost::shared_ptr<SourceBase>& output : element->GetOutputs())
        description.pads.push_back(PadDescription{output->pad_name.Get(), output->GetTypeName(), false});
    return description;
}

void ElementScanner::TestAllElements()
{
    for (const boost::shared_ptr<ElementMakerInterface>& maker : GetElementRegistry()) {
        boost::this_thread::interruption_point();
        FILE_LOG(logDEBUG) << "";
        try {
            boost::shared_ptr<ElementBase> element = maker->Make();
            element->SetType(maker->GetName());
            ElementTester tester(context_, element);
            tester.Run();
        } catch (const boost::thread_interrupted&) {
            throw;
        } catch (...) {
            FILE_LOG(logDEBUG) << "Test failed for element : " << maker->GetName();
        }
    }
}

void ElementScanner::SetMakers(PowerCommanderTop*)
{
    makers_ = GetElementRegistry();
}
