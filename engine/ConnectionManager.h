// Owns every connection of one pipeline and the typed connectors that build
// them, and turns pipeline-wide requests (start, stop, pause, step, log,
// disconnect) into calls on each connection and on each live element ever
// connected, once per element in the order it was first connected.
// Used from one thread only (the GUI thread, or an element test's thread);
// calls that stop connections join their threads on that thread.
#pragma once

#include <set>
#include <string>
#include <vector>

#include <boost/shared_ptr.hpp>
#include <boost/smart_ptr/owner_less.hpp>
#include <boost/weak_ptr.hpp>

#include "core/ThreadSafeVariable.h"
#include "engine/ElementBase.h"
#include "engine/LooperInterface.h"
#include "engine/SinkBase.h"
#include "engine/SourceBase.h"
#include "engine/TypedConnectorInterface.h"

class ControlAndStatus;

class ConnectionManager {
public:
    explicit ConnectionManager(boost::shared_ptr<ControlAndStatus> context);
    // Stops, then destroys every connection before the members go.
    ~ConnectionManager();
    ConnectionManager(const ConnectionManager&) = delete;
    ConnectionManager& operator=(const ConnectionManager&) = delete;

    // Joins the two pads with the first connector that recognises both and
    // returns a message for the user. A pad that is already connected is
    // refused: two threads would otherwise run one element at once. The new
    // connection is not started. success may be null.
    std::string Connect(boost::shared_ptr<SourceBase> source, boost::shared_ptr<SinkBase> sink, bool* success,
                        boost::shared_ptr<ElementBase> source_element,
                        boost::shared_ptr<ElementBase> sink_element);

    // Stops every connection thread first, so that no reset races a running thread.
    void StartAll();
    void PrepareAll();
    void StopAll();
    void SetPaused(bool paused);
    // Every connection runs one more pass and then holds; the pipeline counts as paused.
    void StepAll();
    bool IsPaused() const { return paused_.Get(); }
    void LogAll();
    void SetLogEverything(bool log_everything);

    void DisconnectAll();
    // Removes every connection that involves the element.
    void DisconnectElement(std::string element_id);
    // Removes every connection between the two elements, either way round.
    void DisconnectPair(std::string first_id, std::string second_id);

    // The number of connections; for the owner's listings and tests.
    std::size_t ConnectionCount() const { return connections_.size(); }

private:
    template <typename T>
    void AddConnector(std::string type_name);
    void RegisterConnectors();
    void StopConnections();
    // Prunes first, so no request keeps a gone element's record.
    std::vector<boost::shared_ptr<ElementBase>> LiveElements();
    // Records an element not recorded yet: a hook per connect would reach it ever more often.
    void RecordElement(const boost::shared_ptr<ElementBase>& element);
    // Drops the records of elements that have gone; a weak pointer keeps the element's
    // memory block.
    void PruneElements();

    using ElementRecord = boost::weak_ptr<ElementBase>;
    ThreadSafeVariable<bool> paused_{false};
    // Every element connected, once each, in the order first connected; pruned as it grows.
    std::vector<ElementRecord> elements_;
    std::set<ElementRecord, boost::owner_less<ElementRecord>> recorded_;  // the same, for look-up
    std::size_t kept_elements_ = 0;                                       // size after the last prune
    std::vector<boost::shared_ptr<LooperInterface>> connections_;
    std::vector<boost::shared_ptr<TypedConnectorInterface>> connectors_;
    boost::shared_ptr<ControlAndStatus> context_;
};
