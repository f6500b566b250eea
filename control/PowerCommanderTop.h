// The back end: owns the element catalogue, the factory, the connection manager (every
// connection between pads) and the element table (every element), and interprets the
// text command language. Made once with the hub and handed to it
// (ControlAndStatus::SetCommander). Every operation runs on the GUI thread and takes no
// lock; "test" starts element tests on threads of their own, which use the hub and the
// element registry only, and which the commander interrupts and joins when destroyed.
#pragma once

#include "control/ElementFactory.h"
#include "control/ElementTable.h"
#include "engine/ConnectionManager.h"

#include <boost/shared_ptr.hpp>
#include <boost/thread/mutex.hpp>
#include <boost/thread/thread.hpp>

#include <deque>
#include <string>
#include <vector>

class ControlAndStatus;
class ControlBaseClass;
class ElementBase;
class ParameterContainer;
class RegsteredTypesTest;
class UserRegisteredTypes;

class PowerCommanderTop {
public:
    // Fills the catalogue and the element registry.
    explicit PowerCommanderTop(boost::shared_ptr<ControlAndStatus> shared_controls);
    // Stops the element tests, the connections, then lets the elements go.
    virtual ~PowerCommanderTop();
    PowerCommanderTop(const PowerCommanderTop&) = delete;
    PowerCommanderTop& operator=(const PowerCommanderTop&) = delete;

    // ---- Command language: every call returns the reply, never throws ----

    // One whole command line, split into words (double quotes group words).
    std::string ParseCommand(const std::string& line);
    // A command word and its argument text, split like a line.
    std::string ParseCommandArgs(const std::string& command, const std::string& arguments);
    // Records the command in the history and runs it; an empty reply becomes "Success",
    // any exception "Error, command failed".
    std::string RunCommand(const std::string& command, const std::vector<std::string>& arguments);

    // ---- Elements ----

    // The id of the element made or found; never throws. An element whose id is the
    // given id is returned as it is; with no id given (empty or "no_id_given"), so is one
    // whose id is the name. Otherwise the catalogue makes it and the table takes it,
    // unless the id holds a control character or invalid UTF-8 or the table already holds
    // kMaxPipelineElements elements (both logged at ERROR): what a pipeline file cannot
    // hold is never made. After a failure: the given id, or "" when none was given.
    std::string MakeElement(const std::string& name, const std::string& id);
    // These throw CustomException "Element could not be found : " + id.
    boost::shared_ptr<ElementBase> GetElement(const std::string& id);
    // The element's own settings object, not owned: valid while the element lives.
    boost::shared_ptr<ControlBaseClass> GetElementControls(const std::string& id);
    // The settings of the element's controls object.
    ParameterContainer* GetElementSettings(const std::string& id);
    std::vector<std::string> GetElementIds() const;
    ElementFactory* GetElementFactory();
    ElementTable* GetElementTable();
    // Disconnects every connection of the element, then removes it from the table.
    void RemoveElement(const std::string& id);
    // Stops and destroys every connection, then empties the table.
    void Clear();

    // ---- Connections ----

    // Joins the first free output of the source to the first free input of the sink
    // that a connector can join: the manager's message, or "Failed to connect elements".
    // Throws for an absent id.
    std::string ConnectElements(const std::string& source_id, const std::string& sink_id);
    // The manager's message, "A port is connected", or "Failed" (missing element or pad).
    std::string ConnectPads(const std::string& source_id, const std::string& source_pad,
                            const std::string& sink_id, const std::string& sink_pad);
    // When both pads are connected, destroys every connection between the two elements.
    bool DisconnectPads(const std::string& source_id, const std::string& source_pad,
                        const std::string& sink_id, const std::string& sink_pad);
    // Destroys every connection of the element; returns "".
    std::string Disconnect(const std::string& id);
    // Disconnect for each element of the table; returns "".
    std::string DisconnectAllElements();
    bool IsPortConnected(const std::string& id, const std::string& pad_name);
    // Makes or finds an element per word and connects each to the one before; returns
    // the last id ("" for no words). Throws when a word names nothing (CustomException)
    // or an id is absent; the elements made before stay.
    std::string BuildLink(const std::vector<std::string>& words);

    // ---- Running ----

    void Start();
    void Stop();
    void Step();
    void Pause(bool paused);
    bool IsPaused() const;

    // ---- Catalogue and tests ----

    // Copies the catalogue into the element registry: "Registered 18 Elements\n".
    std::string RegisterElements();
    // The reply of "elements": categories as "<blockquote>" headings, names in "<strong>".
    std::string ListAvailableElements() const;
    // The body of a test thread: tests every registered element on the calling thread,
    // after any run in progress has ended.
    void RunElementTests();
    // Starts RunElementTests on a thread of its own and returns at once; a second run
    // starts when the first has ended. While a run waits for its turn, a further request
    // is served by that run instead of adding a thread.
    void StartElementTests();
    // Whether a test thread started by this commander is still running.
    bool IsTesting();

private:
    using Arguments = std::vector<std::string>;
    using CommandHandler = std::string (PowerCommanderTop::*)(const Arguments&);
    struct Command {
        const char* word;
        CommandHandler handler;
    };
    static const std::vector<Command>& Commands();

    std::string CommandMake(const Arguments& arguments);
    std::string CommandConnect(const Arguments& arguments);
    std::string CommandStart(const Arguments& arguments);
    std::string CommandStop(const Arguments& arguments);
    std::string CommandRestart(const Arguments& arguments);
    std::string CommandPause(const Arguments& arguments);
    std::string CommandPlay(const Arguments& arguments);
    std::string CommandDisconnectAll(const Arguments& arguments);
    std::string CommandDisconnect(const Arguments& arguments);
    std::string CommandClear(const Arguments& arguments);
    std::string CommandBuildLink(const Arguments& arguments);
    std::string CommandListConnections(const Arguments& arguments);
    std::string CommandListElements(const Arguments& arguments);
    std::string CommandLog(const Arguments& arguments);
    std::string CommandLogEverything(const Arguments& arguments);
    std::string CommandSave(const Arguments& arguments);
    std::string CommandLoad(const Arguments& arguments);
    std::string CommandQuery(const Arguments& arguments);
    std::string CommandSet(const Arguments& arguments);
    std::string CommandListSettings(const Arguments& arguments);
    std::string CommandRegister(const Arguments& arguments);
    std::string CommandHistory(const Arguments& arguments);
    std::string CommandGetSaved(const Arguments& arguments);
    std::string CommandHelp(const Arguments& arguments);
    std::string CommandElements(const Arguments& arguments);
    std::string CommandTest(const Arguments& arguments);

    // Both elements and the named pads of a link; throws for any that is missing.
    struct LinkEnds {
        boost::shared_ptr<ElementBase> source;
        boost::shared_ptr<ElementBase> sink;
        boost::shared_ptr<SourceBase> output;
        boost::shared_ptr<SinkBase> input;
    };
    LinkEnds FindLinkEnds(const std::string& source_id, const std::string& source_pad,
                          const std::string& sink_id, const std::string& sink_pad) const;

    // Sets the value when the container has the setting, the text reads and, for a
    // number, lies within the "min"/"max" that the descriptor names; a refused value is
    // logged and left unset. Returns whether the value was taken.
    static bool SetIfPresent(ParameterContainer& settings, const std::string& name, const std::string& value);
    void StopElementTests();

    // Every test thread started and not yet known to have ended.
    std::vector<boost::shared_ptr<boost::thread>> test_threads_;
    boost::mutex test_waiting_mutex_;  // guards test_waiting_
    bool test_waiting_ = false;        // a started run has not had its turn yet
    boost::shared_ptr<UserRegisteredTypes> catalogue_;
    boost::shared_ptr<RegsteredTypesTest> test_catalogue_;
    ElementFactory element_factory_;
    ConnectionManager connection_manager_;
    ElementTable element_table_;
    // The newest lines only: any remote client can send commands without end.
    static constexpr std::size_t kHistoryLines = 1000;
    std::deque<std::string> command_history_;
    boost::shared_ptr<ControlAndStatus> shared_controls_;
};
