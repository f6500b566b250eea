#include "control/LoaderSaver.h"

#include "control/ElementTable.h"
#include "control/NodeEditorInterface.h"
#include "control/PipelineFileReader.h"
#include "control/PipelineFiles.h"
#include "control/PowerCommanderTop.h"
#include "core/ControlAndStatus.h"
#include "core/CustomException.h"
#include "core/FILELog.h"
#include "core/NodeControls.h"
#include "core/StorableText.h"
#include "core/Utilities.h"
#include "engine/ElementBase.h"

#include <QXmlStreamWriter>

#include <functional>
#include <initializer_list>
#include <unordered_set>
#include <unistd.h>

namespace {

// A file of many bad entries would otherwise cost a log line each.
constexpr int kLoggedFailures = 10;

// Logs the first few failures of one kind and counts the rest for one closing line.
class FailureLog {
public:
    explicit FailureLog(const char* what) : what_(what) {}
    ~FailureLog()
    {
        if (count_ > kLoggedFailures)
            FILE_LOG(logERROR) << count_ - kLoggedFailures << " more " << what_;
    }
    // Whether this failure is among those logged one by one.
    bool Note() { return ++count_ <= kLoggedFailures; }

private:
    const char* what_;
    int count_ = 0;
};

void WriteAttribute(QXmlStreamWriter& writer, const char* name, const std::string& value)
{
    writer.writeAttribute(QLatin1String(name), QString::fromStdString(value));
}

bool AllStorable(std::initializer_list<const std::string*> texts)
{
    for (const std::string* text : texts)
        if (!IsStorableText(*text))
            return false;
    return true;
}

// Throws, naming the file, unless the reader took its text.
void RequireRead(const std::string& name, PipelineFileReader::Outcome outcome,
                 const PipelineFileReader& reader)
{
    switch (outcome) {
    case PipelineFileReader::Outcome::kRead:
        return;
    case PipelineFileReader::Outcome::kBeyondBound:
        throw CustomException("Refused pipeline " + name + " : " + reader.Bound());
    case PipelineFileReader::Outcome::kMalformed:
        break;
    }
    throw CustomException("Not a pipeline file : " + name);
}

// Sets the setting of that name from the text without a log line of its own; whether it took.
bool TrySet(const std::vector<ParameterItem*>& items, const std::string& name, const std::string& value)
{
    for (ParameterItem* item : items) {
        if (item->name != name)
            continue;
        try {
            return ParameterContainer::GetConvertor(*item)->FromString(*item, value);
        } catch (...) {
            return false;
        }
    }
    return false;
}

// Runs a store operation for a caller that cannot take an exception.
bool Try(const char* what, const std::string& name, const std::function<void()>& operation) noexcept
{
    try {
        operation();
        return true;
    } catch (const std::exception& error) {
        FILE_LOG(logERROR) << "Could not " << what << " pipeline " << name << " : " << error.what();
    } catch (...) {
        FILE_LOG(logERROR) << "Could not " << what << " pipeline " << name;
    }
    return false;
}

}  // namespace

LoaderSaver::LoaderSaver(NodeEditorInterface* editor, boost::shared_ptr<ControlAndStatus> context)
    : editor_(editor), context_(std::move(context))
{
    connections_.emplace_back(context_->save_signal.connect([this](const std::string& name) { Save(name); }));
    connections_.emplace_back(context_->load_signal.connect([this](const std::string& name) { Load(name); }));
    connections_.emplace_back(context_->list_signal.connect([this] { return GetSavedFiles(); }));
    connections_.emplace_back(
        context_->delete_signal.connect([this](const std::string& name) { Delete(name); }));
}

LoaderSaver::~LoaderSaver() = default;

PowerCommanderTop& LoaderSaver::Commander()
{
    PowerCommanderTop* commander = context_->GetCommander();
    if (!commander)
        throw CustomException("The pipeline store has no commander");
    return *commander;
}

void LoaderSaver::Save(const std::string& name)
{
    const std::string path = PipelineFilePath(name);
    const QByteArray content = WritePipeline();
    RequireLoadable(name, content);
    FILE_LOG(logDEBUG) << "Writing to file";
    if (!WriteFileReplacing(path, content)) {
        FILE_LOG(logERROR) << "Failed to write to file " << name;
        throw CustomException("Could not save pipeline " + name);
    }
    // The rest is kept, but the save did not keep everything.
    if (left_out_ > 0)
        throw CustomException("Saved pipeline " + name + " without " + std::to_string(left_out_) +
                              " elements or settings whose text a pipeline file cannot hold");
    FILE_LOG(logINFO) << "Written to file " << name;
}

QByteArray LoaderSaver::WritePipeline()
{
    QByteArray content;
    QXmlStreamWriter writer(&content);
    writer.setAutoFormatting(true);
    writer.setAutoFormattingIndent(2);
    writer.writeDTD(QLatin1String("<!DOCTYPE XML>"));
    writer.writeStartElement(QLatin1String("top"));
    left_out_ = 0;
    AddAllElements(writer);
    writer.writeEndDocument();
    // The writer's formatting breaks the line before its first token too.
    if (content.startsWith('\n'))
        content.remove(0, 1);
    return content;
}

void LoaderSaver::RequireLoadable(const std::string& name, const QByteArray& content)
{
    if (content.size() > kMaxPipelineFileBytes)
        throw CustomException("Refused to save pipeline " + name + " : its file would be larger than " +
                              std::to_string(kMaxPipelineFileBytes) + " bytes, more than a load reads");
    PipelineFileReader reader;
    if (reader.Read(content) != PipelineFileReader::Outcome::kRead)
        throw CustomException(
            "Refused to save pipeline " + name + " : its file would not load, as " +
            (reader.Bound().empty() ? std::string("it would not be read") : reader.Bound()));
}

void LoaderSaver::AddAllElements(QXmlStreamWriter& writer)
{
    static const std::vector<ConnectionRecord> kNoConnections;
    const ConnectionsByElement connections = Commander().GetElementTable()->GetConnectionsByElement();
    for (const std::string& id : Commander().GetElementIds()) {
        const auto found = connections.find(id);
        AddElement(id, found == connections.end() ? kNoConnections : found->second, writer);
    }
}

void LoaderSaver::AddElement(const std::string& id, const std::vector<ConnectionRecord>& connections,
                             QXmlStreamWriter& writer)
{
    boost::shared_ptr<ElementBase> element = Commander().GetElement(id);
    const std::string type = element->GetType();
    if (!IsStorableName(id) || !IsStorableText(type)) {
        FILE_LOG(logERROR) << "Could not save element " << id << " : its id or type cannot be held in a file";
        ++left_out_;
        return;
    }
    writer.writeStartElement(QLatin1String("Element"));
    WriteAttribute(writer, "id", id);
    WriteAttribute(writer, "type", type);
    AddSettings(*element, writer);
    AddConnections(connections, writer);
    writer.writeEndElement();
}

void LoaderSaver::AddSettings(ElementBase& element, QXmlStreamWriter& writer)
{
    for (const ParameterItem& item : element.settings.GetItems()) {
        const std::string value = element.settings.GetValueAsString(item.name);
        if (!AllStorable({&item.name, &value, &item.descriptor})) {
            FILE_LOG(logERROR) << "Could not save setting " << item.name << " of element " << element.GetId()
                               << " : its text cannot be held in a file";
            ++left_out_;
            continue;
        }
        writer.writeEmptyElement(QLatin1String("Settings"));
        WriteAttribute(writer, "name", item.name);
        WriteAttribute(writer, "value", value);
        WriteAttribute(writer, "extra", item.descriptor);
    }
}

void LoaderSaver::AddConnections(const std::vector<ConnectionRecord>& connections, QXmlStreamWriter& writer)
{
    for (const ConnectionRecord& record : connections) {
        if (!AllStorable(
                {&record.sink_element, &record.source_element, &record.sink_name, &record.source_name}))
            continue;  // the element at its other end was left out, and counted
        writer.writeEmptyElement(QLatin1String("Connection"));
        WriteAttribute(writer, "sink_element", record.sink_element);
        WriteAttribute(writer, "source_element", record.source_element);
        WriteAttribute(writer, "sink_name", record.sink_name);
        WriteAttribute(writer, "source_name", record.source_name);
    }
}

void LoaderSaver::Load(const std::string& name)
{
    const std::string path = PipelineFilePath(name);
    Commander();  // without one nothing could be rebuilt: refuse before reading
    PipelineFileReader reader;
    {
        QByteArray content;
        if (!ReadFileBounded(path, kMaxPipelineFileBytes, content))
            throw CustomException("Could not read pipeline " + name);
        RequireRead(name, reader.Read(content), reader);
    }
    const std::vector<PipelineEntry>& entries = reader.Entries();
    try {
        context_->GetSharedControl<NodeControls>("")->clear_editor_signal();
        LoadSettings(entries, LoadElements(entries));
        LoadConnections(entries);
        if (editor_)
            editor_->UpdateFromBackend();
    } catch (...) {
        FILE_LOG(logERROR) << "Failed to load";
        throw;
    }
}

std::vector<std::string> LoaderSaver::LoadElements(const std::vector<PipelineEntry>& entries)
{
    PowerCommanderTop& commander = Commander();
    commander.Clear();
    const ElementTable& table = *commander.GetElementTable();
    FailureLog skipped_log("elements of the file were skipped");
    // Types that could not be made: a camera that cannot be opened takes a tenth of a
    // second to find out, which a file of thousands would repeat.
    std::unordered_set<std::string> unmade_types;
    std::vector<std::string> made_ids;
    made_ids.reserve(entries.size());
    for (const PipelineEntry& entry : entries) {
        std::string made;
        if (!unmade_types.count(entry.type) || table.Exists(entry.id))
            made = commander.MakeElement(entry.type, entry.id);
        const bool skipped = made.empty() || !table.Exists(made);
        // Within a load only a type, never the element cap, fails an id that a file can hold.
        if (skipped && IsStorableName(entry.id))
            unmade_types.insert(entry.type);
        if (skipped && skipped_log.Note())
            FILE_LOG(logERROR) << "Skipped element " << entry.id << " of type " << entry.type;
        made_ids.push_back(skipped ? std::string() : made);
    }
    return made_ids;
}

void LoaderSaver::LoadSettings(const std::vector<PipelineEntry>& entries,
                               const std::vector<std::string>& made_ids)
{
    PowerCommanderTop& commander = Commander();
    FailureLog refused_log("settings of the file could not be set");
    // Each entry's settings go to the element made for it, which an entry without an id
    // names only by its made id.
    for (std::size_t index = 0; index < entries.size(); ++index) {
        const std::string& id = made_ids.at(index);
        if (id.empty())
            continue;
        const std::vector<ParameterItem*> items = commander.GetElement(id)->settings.GetLiveItems();
        for (const auto& setting : entries[index].settings) {
            if (!TrySet(items, setting.first, setting.second) && refused_log.Note())
                FILE_LOG(logERROR) << "Could not set " << setting.first << " of element " << id;
        }
    }
}

void LoaderSaver::LoadConnections(const std::vector<PipelineEntry>& entries)
{
    PowerCommanderTop& commander = Commander();
    const ElementTable& table = *commander.GetElementTable();
    commander.Stop();
    commander.DisconnectAllElements();
    for (const PipelineEntry& entry : entries) {
        for (const ConnectionRecord& link : entry.connections) {
            // An absent element would cost a logged exception for each of its listings.
            if (!table.Exists(link.source_element) || !table.Exists(link.sink_element))
                continue;
            const std::string reply = commander.ConnectPads(link.source_element, link.source_name,
                                                            link.sink_element, link.sink_name);
            FILE_LOG(logDEBUG) << reply;
        }
    }
}

bool LoaderSaver::TrySave(const std::string& name) noexcept
{
    return Try("save", name, [&] { Save(name); });
}

bool LoaderSaver::TryLoad(const std::string& name) noexcept
{
    return Try("load", name, [&] { Load(name); });
}

void LoaderSaver::Delete(const std::string& name)
{
    const std::string path = PipelineFilePath(name);
    // A link may have been put there to have something else taken away.
    if (IsSymbolicLink(path))
        throw CustomException("Refused to delete through a link : " + name);
    // unlink, not remove: a folder of that name is never taken away.
    const int code = ::unlink(path.c_str());
    if (code != 0) {
        FILE_LOG(logDEBUG) << "Error during the deletion: " << code << "\n";
        throw CustomException("Could not delete pipeline " + name);
    }
    FILE_LOG(logDEBUG) << "File was successfully deleted\n";
}

std::vector<std::string> LoaderSaver::GetSavedFiles()
{
    std::vector<std::string> names;
    for (const std::string& file : ListFilesWithExtension(ControlAndStatus::GetSettingsDirectory(), "xml"))
        names.push_back(RemoveExtension(GetFileName(file)));
    return names;
}
