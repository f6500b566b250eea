#pragma once
// A hub with a commander and a pipeline store in a home folder of its own, and a way to
// take the whole state of the pipeline for comparisons.

#include "control/ConnectionRecord.h"
#include "control/ElementTable.h"
#include "control/LoaderSaver.h"
#include "control/NodeEditorInterface.h"
#include "control/PowerCommanderTop.h"
#include "core/ControlAndStatus.h"
#include "engine/ElementBase.h"
#include "support/TestSupport.h"

#include <boost/make_shared.hpp>

#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

struct ElementState {
    std::string id;
    std::string type;
    std::vector<std::pair<std::string, std::string>> settings;
    bool operator==(const ElementState& other) const
    {
        return id == other.id && type == other.type && settings == other.settings;
    }
};

struct PipelineState {
    std::vector<ElementState> elements;
    std::vector<ConnectionRecord> connections;
    bool operator==(const PipelineState& other) const
    {
        return elements == other.elements && connections == other.connections;
    }
};

class CountingEditor : public NodeEditorInterface {
public:
    void UpdateFromBackend() override { ++updates; }
    int updates = 0;
};

class StoreFixture {
public:
    StoreFixture()
        : hub(boost::make_shared<ControlAndStatus>()), commander(boost::make_shared<PowerCommanderTop>(hub))
    {
        hub->SetCommander(commander);
        store = std::make_unique<LoaderSaver>(&editor, hub);
    }

    ~StoreFixture()
    {
        store.reset();
        commander->Clear();
        // The commander holds the hub: break the cycle so both go.
        hub->SetCommander(boost::shared_ptr<PowerCommanderTop>());
        commander.reset();
    }

    std::string Command(const std::string& line) { return commander->ParseCommand(line); }

    PipelineState Snapshot()
    {
        PipelineState state;
        for (const std::string& id : commander->GetElementIds()) {
            boost::shared_ptr<ElementBase> element = commander->GetElement(id);
            state.elements.push_back({id, element->GetType(), element->settings.GetNameValuePairs()});
        }
        state.connections = commander->GetElementTable()->GetAllConnections();
        return state;
    }

    std::string Folder() const { return ControlAndStatus::GetSettingsDirectory(); }

    void WriteFile(const std::string& path, const std::string& content) const
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << content;
    }

    testsupport::ScopedHome home;
    CountingEditor editor;
    boost::shared_ptr<ControlAndStatus> hub;
    boost::shared_ptr<PowerCommanderTop> commander;
    std::unique_ptr<LoaderSaver> store;
};
