#include "control/PowerCommanderTop.h"

#include "control/ElementRegistry.h"
#include "control/ElementScanner.h"
#include "control/ElementTestThreads.h"
#include "control/PipelineFiles.h"
#include "control/RegsteredTypesTest.h"
#include "control/UserRegisteredTypes.h"
#include "core/FILELog.h"
#include "core/StorableText.h"
#include "engine/ElementBase.h"
#include "engine/MakeUnownedPtr.h"

#include <boost/make_shared.hpp>
#include <boost/thread/lock_guard.hpp>

#include <algorithm>
#include <iostream>

namespace {

bool NoIdGiven(const std::string& id)
{
    return id.empty() || id == "no_id_given";
}

}  // namespace

PowerCommanderTop::PowerCommanderTop(boost::shared_ptr<ControlAndStatus> shared_controls)
    : catalogue_(new UserRegisteredTypes(shared_controls)),
      test_catalogue_(new RegsteredTypesTest(shared_controls)), element_factory_(&element_table_),
      connection_manager_(shared_controls), element_table_(connection_manager_),
      shared_controls_(shared_controls)
{
    // Made now, so that it outlives what the tests make and is still there at exit.
    ElementTestThreads::Instance();
    RegisterElements();
}

PowerCommanderTop::~PowerCommanderTop()
{
    StopElementTests();
    connection_manager_.StopAll();
    connection_manager_.DisconnectAll();
    element_table_.Clear();
    std::cout << "Destroyed Commander" << std::endl;
}

// ---- Elements ----

std::string PowerCommanderTop::MakeElement(const std::string& name, const std::string& id)
{
    if (element_table_.Exists(id)) {
        FILE_LOG(logDEBUG) << "Found element, not remaking " << id;
        return id;
    }
    if (NoIdGiven(id) && element_table_.Exists(name)) {
        FILE_LOG(logDEBUG) << "Found element, not remaking " << name;
        return name;
    }
    std::string made_id = NoIdGiven(id) ? std::string() : id;
    // A file holds no such id, and a pipeline that a file cannot hold could not be kept.
    if (!made_id.empty() && !IsStorableName(made_id)) {
        FILE_LOG(logERROR) << "Refused element " << name
                           << " : an id holds no control characters and only valid UTF-8";
        return made_id;
    }
    if (element_table_.Count() >= static_cast<std::size_t>(kMaxPipelineElements)) {
        FILE_LOG(logERROR) << "Refused element " << name << " : the pipeline has " << kMaxPipelineElements
                           << " elements, as many as a pipeline file holds";
        return made_id;
    }
    try {
        element_table_.AddElement(element_factory_.MakeElement(name, made_id));
    } catch (...) {
        FILE_LOG(logERROR) << "Could not make element" << name;
    }
    return made_id;
}

boost::shared_ptr<ElementBase> PowerCommanderTop::GetElement(const std::string& id)
{
    return element_table_.FindElement(id);
}

boost::shared_ptr<ControlBaseClass> PowerCommanderTop::GetElementControls(const std::string& id)
{
    return MakeUnownedPtr<ControlBaseClass>(GetElement(id).get());
}

ParameterContainer* PowerCommanderTop::GetElementSettings(const std::string& id)
{
    return &GetElement(id)->controls->settings;
}

std::vector<std::string> PowerCommanderTop::GetElementIds() const
{
    return element_table_.GetIds();
}

ElementFactory* PowerCommanderTop::GetElementFactory()
{
    return &element_factory_;
}

ElementTable* PowerCommanderTop::GetElementTable()
{
    return &element_table_;
}

void PowerCommanderTop::RemoveElement(const std::string& id)
{
    element_table_.RemoveElement(id);
}

void PowerCommanderTop::Clear()
{
    connection_manager_.StopAll();
    connection_manager_.DisconnectAll();
    element_table_.Clear();
}

// ---- Connections ----

std::string PowerCommanderTop::ConnectElements(const std::string& source_id, const std::string& sink_id)
{
    const boost::shared_ptr<ElementBase> source = element_table_.FindElement(source_id);
    const boost::shared_ptr<ElementBase> sink = element_table_.FindElement(sink_id);
    for (const boost::shared_ptr<SourceBase>& output : source->GetOutputs()) {
        for (const boost::shared_ptr<SinkBase>& input : sink->GetInputs()) {
            if (output->IsHeld() || input->IsHeld())
                continue;
            try {
                bool connected = false;
                const std::string message =
                    connection_manager_.Connect(output, input, &connected, source, sink);
                if (connected)
                    return message;
            } catch (...) {
                FILE_LOG(logDEBUG1) << "Could not connect elements " << source_id << " " << sink_id;
            }
        }
    }
    return "Failed to connect elements";
}

PowerCommanderTop::LinkEnds PowerCommanderTop::FindLinkEnds(const std::string& source_id,
                                                            const std::string& source_pad,
                                                            const std::string& sink_id,
                                                            const std::string& sink_pad) const
{
    LinkEnds ends;
    ends.source = element_table_.FindElement(source_id);
    ends.sink = element_table_.FindElement(sink_id);
    ends.input = ends.sink->GetInputByName(sink_pad);
    ends.output = ends.source->GetOutputByName(source_pad);
    return ends;
}

std::string PowerCommanderTop::ConnectPads(const std::string& source_id, const std::string& source_pad,
                                           const std::string& sink_id, const std::string& sink_pad)
{
    try {
        const LinkEnds ends = FindLinkEnds(source_id, source_pad, sink_id, sink_pad);
        if (ends.input->IsHeld() || ends.output->IsHeld())
            return "A port is connected";
        bool connected = false;
        return connection_manager_.Connect(ends.output, ends.input, &connected, ends.source, ends.sink);
    } catch (...) {
        return "Failed";
    }
}

bool PowerCommanderTop::DisconnectPads(const std::string& source_id, const std::string& source_pad,
                                       const std::string& sink_id, const std::string& sink_pad)
{
    try {
        const LinkEnds ends = FindLinkEnds(source_id, source_pad, sink_id, sink_pad);
        if (!ends.input->IsHeld() || !ends.output->IsHeld())
            return false;
        connection_manager_.DisconnectPair(source_id, sink_id);
        return true;
    } catch (...) {
        return false;
    }
}

std::string PowerCommanderTop::Disconnect(const std::string& id)
{
    connection_manager_.DisconnectElement(id);
    return "";
}

std::string PowerCommanderTop::DisconnectAllElements()
{
    for (const std::string& id : element_table_.GetIds())
        connection_manager_.DisconnectElement(id);
    return "";
}

bool PowerCommanderTop::IsPortConnected(const std::string& id, const std::string& pad_name)
{
    try {
        for (const boost::shared_ptr<PadBase>& pad : element_table_.FindElement(id)->GetAllPads()) {
            if (pad->pad_name.Get() == pad_name)
                return pad->IsHeld();
        }
    } catch (...) {
    }
    return false;
}

std::string PowerCommanderTop::BuildLink(const std::vector<std::string>& words)
{
    std::string previous_id;
    for (const std::string& word : words) {
        const std::string id = MakeElement(word, "");
        // A word that names nothing ends the link rather than passing for success.
        element_table_.FindElement(id);
        if (!previous_id.empty()) {
            const std::string reply = ConnectElements(previous_id, id);
            FILE_LOG(logDEBUG) << reply;
        }
        previous_id = id;
    }
    return previous_id;
}

// ---- Running ----

void PowerCommanderTop::Start()
{
    connection_manager_.StartAll();
}

void PowerCommanderTop::Stop()
{
    connection_manager_.StopAll();
}

void PowerCommanderTop::Step()
{
    connection_manager_.StepAll();
}

void PowerCommanderTop::Pause(bool paused)
{
    connection_manager_.SetPaused(paused);
}

bool PowerCommanderTop::IsPaused() const
{
    return connection_manager_.IsPaused();
}

// ---- Catalogue and tests ----

std::string PowerCommanderTop::RegisterElements()
{
    ElementMakerList makers = catalogue_->GetMakers();
    const std::string text = "Registered " + std::to_string(makers.size()) + " Elements" + "\n";
    const ElementMakerList test_makers = test_catalogue_->GetMakers();
    makers.insert(makers.end(), test_makers.begin(), test_makers.end());
    SetElementRegistry(makers);
    return text;
}

std::string PowerCommanderTop::ListAvailableElements() const
{
    std::string text;
    std::string category;
    for (const boost::shared_ptr<ElementMakerInterface>& maker : GetElementRegistry()) {
        if (maker->GetCategory() != category) {
            category = maker->GetCategory();
            text += "<blockquote>" + category + "</blockquote>" + "\n";
        }
        text += "<strong>" + maker->GetName() + "</strong>" + "\n";
        text += maker->GetDescription() + "\n" + "\n";
    }
    return text;
}

void PowerCommanderTop::RunElementTests()
{
    const ElementTestThreads::Turn turn;
    {
        boost::lock_guard<boost::mutex> lock(test_waiting_mutex_);
        test_waiting_ = false;
    }
    ElementScanner scanner(shared_controls_);
    scanner.TestAllElements();
}

void PowerCommanderTop::StartElementTests()
{
    {
        boost::lock_guard<boost::mutex> lock(test_waiting_mutex_);
        if (test_waiting_)
            return;
        test_waiting_ = true;
    }
    test_threads_.erase(std::remove_if(test_threads_.begin(), test_threads_.end(),
                                       [](const boost::shared_ptr<boost::thread>& thread) {
                                           return ElementTestThreads::HasEnded(*thread);
                                       }),
                        test_threads_.end());
    const boost::shared_ptr<boost::thread> thread =
        boost::make_shared<boost::thread>(&PowerCommanderTop::RunElementTests, this);
    test_threads_.push_back(thread);
    ElementTestThreads::Instance().Add(thread);
}

bool PowerCommanderTop::IsTesting()
{
    return std::any_of(test_threads_.begin(), test_threads_.end(),
                       [](const boost::shared_ptr<boost::thread>& thread) {
                           return !ElementTestThreads::HasEnded(*thread);
                       });
}

void PowerCommanderTop::StopElementTests()
{
    // All at once, so that a run waiting for its turn does not start when the first ends.
    for (const boost::shared_ptr<boost::thread>& thread : test_threads_)
        thread->interrupt();
    for (const boost::shared_ptr<boost::thread>& thread : test_threads_)
        ElementTestThreads::Instance().Stop(thread);
    test_threads_.clear();
}
