// The text command language of PowerCommanderTop: one line in, one reply out.
#include "control/PowerCommanderTop.h"

#include "core/ControlAndStatus.h"
#include "core/CustomException.h"
#include "core/FILELog.h"
#include "core/StorableText.h"
#include "core/Utilities.h"
#include "engine/ElementBase.h"

#include "core/ValueText.h"
#include "elements/SettingRange.h"

#include <boost/optional.hpp>

namespace {

// Whether the text is a number outside the "min"/"max" that the setting's descriptor
// names. Editors' defaults are no limits: a descriptor naming neither bound, or saying
// "other=no-limits", takes anything; text that is no number is the convertor's to judge.
bool IsOutsideLimits(const ParameterItem& item, const std::string& text)
{
    if (GetValue(item.descriptor, "other") == "no-limits" ||
        (GetValue(item.descriptor, "min").empty() && GetValue(item.descriptor, "max").empty()))
        return false;
    double value = 0.0;
    try {
        value = ValueFromText<double>(text);
    } catch (...) {
        return false;
    }
    return !(SettingRange<double>(item.descriptor).Hold(value) == value);
}

// As the node panel tells an edit: the signal, and the flag that frame-time code polls.
void TellSettingsChanged(ControlBaseClass& changed)
{
    changed.settings_changed_signal();
    changed.settings_changed_flag.Set(true);
}

const char* const kHelpLines[][2] = {
    {"start", "Starts the pipeline "},
    {"restart", "Restarts the pipeline "},
    {"stop", "Stops the pipeline"},
    {"clear", "Clears all elements"},
    {"disconnect-all", "Disconnects"},
    {"disconnect [id]", "Disconnects an element"},
    {"save [name to save]", "Saves a pipeline"},
    {"get-saved", "Returns a list of saved files"},
    {"load [name of saved pipeline]", "Loads a pipeline"},
    {"make [element name] [id (optional)]", "Makes an element"},
    {"buildlink [element name or id] ...", "Builds a link of elements"},
    {"connect [id_1] [id_2]", "Connects two elements"},
    {"make-permanent", "Makes an element Permanent"},
    {"list-settings", "Lists available settings"},
    {"set [id] [setting name] [value]", "Sets a setting on an element"},
    {"query [id] [setting name]", "Lists available settings"},
    {"list-elements", "Lists made elements"},
    {"elements", "Lists available elements"},
};

}  // namespace

std::string PowerCommanderTop::ParseCommand(const std::string& line)
{
    std::vector<std::string> words = Tokenize(line);
    const std::string command = words.front();
    words.erase(words.begin());
    return RunCommand(command, words);
}

std::string PowerCommanderTop::ParseCommandArgs(const std::string& command, const std::string& arguments)
{
    return RunCommand(command, Tokenize(arguments));
}

const std::vector<PowerCommanderTop::Command>& PowerCommanderTop::Commands()
{
    static const std::vector<Command> commands = {
        {"make", &PowerCommanderTop::CommandMake},
        {"connect", &PowerCommanderTop::CommandConnect},
        {"start", &PowerCommanderTop::CommandStart},
        {"stop", &PowerCommanderTop::CommandStop},
        {"restart", &PowerCommanderTop::CommandRestart},
        {"pause", &PowerCommanderTop::CommandPause},
        {"play", &PowerCommanderTop::CommandPlay},
        {"disconnect-all", &PowerCommanderTop::CommandDisconnectAll},
        {"disconnect", &PowerCommanderTop::CommandDisconnect},
        {"clear", &PowerCommanderTop::CommandClear},
        {"buildlink", &PowerCommanderTop::CommandBuildLink},
        {"list-connections", &PowerCommanderTop::CommandListConnections},
        {"list-elements", &PowerCommanderTop::CommandListElements},
        {"log", &PowerCommanderTop::CommandLog},
        {"log-everything", &PowerCommanderTop::CommandLogEverything},
        {"save", &PowerCommanderTop::CommandSave},
        {"load", &PowerCommanderTop::CommandLoad},
        {"query", &PowerCommanderTop::CommandQuery},
        {"set", &PowerCommanderTop::CommandSet},
        {"list-settings", &PowerCommanderTop::CommandListSettings},
        {"register", &PowerCommanderTop::CommandRegister},
        {"history", &PowerCommanderTop::CommandHistory},
        {"get-saved", &PowerCommanderTop::CommandGetSaved},
        {"help", &PowerCommanderTop::CommandHelp},
        {"elements", &PowerCommanderTop::CommandElements},
        {"test", &PowerCommanderTop::CommandTest},
    };
    return commands;
}

std::string PowerCommanderTop::RunCommand(const std::string& command,
                                          const std::vector<std::string>& arguments)
{
    std::string entry = command;
    for (const std::string& argument : arguments)
        entry += " " + argument;
    command_history_.push_back(entry);
    if (command_history_.size() > kHistoryLines)
        command_history_.pop_front();

    std::string reply;
    try {
        bool recognised = false;
        for (const Command& known : Commands()) {
            if (command == known.word) {
                reply = (this->*known.handler)(arguments);
                recognised = true;
                break;
            }
        }
        if (!recognised)
            reply = "Unrecognised command : " + entry + "\n";
    } catch (...) {
        reply = "Error, command failed";
    }
    return reply.empty() ? "Success" : reply;
}

std::string PowerCommanderTop::CommandMake(const Arguments& arguments)
{
    const std::string id = MakeElement(arguments.at(0), arguments.size() > 1 ? arguments[1] : "");
    // Nothing made or found is a failure, not an id.
    element_table_.FindElement(id);
    return id;
}

std::string PowerCommanderTop::CommandConnect(const Arguments& arguments)
{
    if (arguments.size() < 2)
        return "Not enough elements";
    return ConnectElements(arguments[0], arguments[1]);
}

std::string PowerCommanderTop::CommandStart(const Arguments&)
{
    connection_manager_.StartAll();
    return "";
}

std::string PowerCommanderTop::CommandStop(const Arguments&)
{
    connection_manager_.StopAll();
    return "";
}

std::string PowerCommanderTop::CommandRestart(const Arguments&)
{
    connection_manager_.StopAll();
    connection_manager_.StartAll();
    return "";
}

std::string PowerCommanderTop::CommandPause(const Arguments&)
{
    connection_manager_.SetPaused(true);
    return "";
}

std::string PowerCommanderTop::CommandPlay(const Arguments&)
{
    connection_manager_.SetPaused(false);
    return "";
}

std::string PowerCommanderTop::CommandDisconnectAll(const Arguments&)
{
    connection_manager_.DisconnectAll();
    return "";
}

std::string PowerCommanderTop::CommandDisconnect(const Arguments& arguments)
{
    return Disconnect(arguments.at(0));
}

std::string PowerCommanderTop::CommandClear(const Arguments&)
{
    connection_manager_.DisconnectAll();
    element_table_.Clear();
    return "";
}

std::string PowerCommanderTop::CommandBuildLink(const Arguments& arguments)
{
    return BuildLink(arguments);
}

std::string PowerCommanderTop::CommandListConnections(const Arguments&)
{
    return element_table_.ListConnections();
}

std::string PowerCommanderTop::CommandListElements(const Arguments&)
{
    return element_table_.ListElements();
}

std::string PowerCommanderTop::CommandLog(const Arguments&)
{
    connection_manager_.LogAll();
    return "";
}

std::string PowerCommanderTop::CommandLogEverything(const Arguments& arguments)
{
    if (arguments.at(0) == "1")
        connection_manager_.SetLogEverything(true);
    else if (arguments[0] == "0")
        connection_manager_.SetLogEverything(false);
    return "";
}

std::string PowerCommanderTop::CommandSave(const Arguments& arguments)
{
    if (arguments.empty())
        return "Not enought args";
    shared_controls_->save_signal(arguments[0]);
    return "";
}

std::string PowerCommanderTop::CommandLoad(const Arguments& arguments)
{
    if (arguments.empty())
        return "Not enought args";
    shared_controls_->load_signal(arguments[0]);
    return "";
}

std::string PowerCommanderTop::CommandQuery(const Arguments& arguments)
{
    if (arguments.empty())
        return "Not enough args";
    return GetElement(arguments[0])->settings.ToString();
}

bool PowerCommanderTop::SetIfPresent(ParameterContainer& settings, const std::string& name,
                                     const std::string& value)
{
    bool present = false;
    for (const ParameterItem& item : settings.GetItems())
        present = present || item.name == name;
    if (!present)
        return false;
    try {
        ParameterItem& item = settings.FindItem(name);
        if (IsOutsideLimits(item, value)) {
            FILE_LOG(logERROR) << "Could not set " << name << " to " << value << " : outside "
                               << item.descriptor;
            return false;
        }
        return ParameterContainer::GetConvertor(item)->FromString(item, value);
    } catch (...) {
        FILE_LOG(logERROR) << "Could not set " << name << " to " << value;
        return false;
    }
}

std::string PowerCommanderTop::CommandSet(const Arguments& arguments)
{
    if (arguments.size() < 3)
        return "Not enough args";
    const boost::shared_ptr<ElementBase> element = GetElement(arguments[0]);
    // A value that no pipeline file can hold would be lost at the next save.
    if (!IsStorableText(arguments[2]))
        throw CustomException("Refused the value for " + arguments[1] + " of " + arguments[0] +
                              " : a setting's text holds only valid UTF-8 and no control characters"
                              " but tab, line feed and carriage return");
    bool taken = false;
    if (element->controls && SetIfPresent(element->controls->settings, arguments[1], arguments[2])) {
        TellSettingsChanged(*element->controls);
        taken = true;
    }
    if (SetIfPresent(element->settings, arguments[1], arguments[2])) {
        TellSettingsChanged(*element);
        taken = true;
    }
    if (!taken)
        throw CustomException("Could not set " + arguments[1] + " of " + arguments[0]);
    return "";
}

std::string PowerCommanderTop::CommandListSettings(const Arguments&)
{
    return element_table_.ListSettings();
}

std::string PowerCommanderTop::CommandRegister(const Arguments&)
{
    return RegisterElements();
}

std::string PowerCommanderTop::CommandHistory(const Arguments&)
{
    std::string text;
    for (const std::string& entry : command_history_)
        text += entry + "\n";
    return text;
}

std::string PowerCommanderTop::CommandGetSaved(const Arguments&)
{
    std::string text = "Files to open: \n";
    // With no pipeline store connected the signal has no answer, and there is nothing to list.
    if (const boost::optional<std::vector<std::string>> names = shared_controls_->list_signal()) {
        for (const std::string& name : *names)
            text += name + "\n";
    }
    return text + "Type load [name]";
}

std::string PowerCommanderTop::CommandHelp(const Arguments&)
{
    std::string text = "Available Commands\n";
    for (const auto& line : kHelpLines) {
        std::string usage = line[0];
        PadRight(usage, 36);
        text += usage + "- " + line[1] + "\n";
    }
    return text;
}

std::string PowerCommanderTop::CommandElements(const Arguments&)
{
    return ListAvailableElements();
}

std::string PowerCommanderTop::CommandTest(const Arguments&)
{
    StartElementTests();
    return "";
}
