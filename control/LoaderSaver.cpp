#include "control/LoaderSaver.h"

#include "control/ElementTable.h"
#include "control/NodeEditorInterface.h"
#include "control/PipelineFiles.h"
#include "control/PowerCommanderTop.h"
#include "core/ControlAndStatus.h"
#include "core/CustomException.h"
#include "core/FILELog.h"
#include "core/NodeControls.h"
#include "core/Utilities.h"
#include "engine/ElementBase.h"

#include <QXmlStreamReader>

#include <functional>
#include <unistd.h>

namespace {

// Pipeline files are three levels deep; far deeper nesting only serves to exhaust the stack.
constexpr int kMaxDepth = 64;
// A file within the byte bound could hold hundreds of thousands of elements, whose load
// would hold the GUI thread for minutes and take gigabytes.
constexpr int kMaxPipelineElements = 20000;

QString ToQString(const std::string& text)
{
    return QString::fromStdString(text);
}

std::string Attribute(const QDomElement& node, const char* name)
{
    return node.attribute(name).toStdString();
}

bool IsXmlCharacter(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0x10FFFF);
}

// A text that XML cannot hold would give a file that no longer loads.
bool CanHold(const std::string& text)
{
    for (char32_t c : ToQString(text).toUcs4())
        if (!IsXmlCharacter(c))
            return false;
    return true;
}

bool CanHoldAll(std::initializer_list<const std::string*> texts)
{
    for (const std::string* text : texts)
        if (!CanHold(*text))
            return false;
    return true;
}

void SetAttribute(QDomElement& node, const char* name, const std::string& value)
{
    node.setAttribute(name, ToQString(value));
}

enum class FileCheck { kPipeline, kMalformed, kTooManyElements };

// Every child of "top" is made as an element, whatever its tag.
FileCheck CheckPipeline(const QByteArray& content)
{
    QXmlStreamReader reader(content);
    int depth = 0;
    int elements = 0;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::DTD:
            if (!reader.entityDeclarations().isEmpty())
                return FileCheck::kMalformed;
            break;
        case QXmlStreamReader::StartElement:
            if (++depth > kMaxDepth || (depth == 1 && reader.name() != QLatin1String("top")))
                return FileCheck::kMalformed;
            if (depth == 2 && ++elements > kMaxPipelineElements)
                return FileCheck::kTooManyElements;
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        case QXmlStreamReader::EntityReference:
            return FileCheck::kMalformed;
        default:
            break;
        }
    }
    return reader.hasError() ? FileCheck::kMalformed : FileCheck::kPipeline;
}

// Parses the file's text, checked before any tree is built; throws when it is refused.
void ParsePipeline(const std::string& name, const QByteArray& content, QDomDocument& document)
{
    switch (CheckPipeline(content)) {
    case FileCheck::kTooManyElements:
        throw CustomException("Refused pipeline " + name + " : it has more than " +
                              std::to_string(kMaxPipelineElements) + " elements");
    case FileCheck::kMalformed:
        break;
    case FileCheck::kPipeline: {
        QXmlStreamReader reader(content);
        if (document.setContent(&reader, false))
            return;
        break;
    }
    }
    throw CustomException("Not a pipeline file : " + name);
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
    ResetDocument();
    connections_.emplace_back(context_->save_signal.connect([this](const std::string& name) { Save(name); }));
    connections_.emplace_back(context_->load_signal.connect([this](const std::string& name) { Load(name); }));
    connections_.emplace_back(context_->list_signal.connect([this] { return GetSavedFiles(); }));
    connections_.emplace_back(
        context_->delete_signal.connect([this](const std::string& name) { Delete(name); }));
}

LoaderSaver::~LoaderSaver() = default;

void LoaderSaver::ResetDocument()
{
    // clear() would drop the document type too.
    document_ = QDomDocument("XML");
    root_ = document_.createElement("top");
    document_.appendChild(root_);
}

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
    ResetDocument();
    AddAllElements();
    FILE_LOG(logDEBUG) << "Writing to file";
    if (!WriteFileReplacing(path, document_.toByteArray(2))) {
        FILE_LOG(logERROR) << "Failed to write to file " << name;
        throw CustomException("Could not save pipeline " + name);
    }
    FILE_LOG(logINFO) << "Written to file " << name;
}

void LoaderSaver::AddAllElements()
{
    static const std::vector<ConnectionRecord> kNoConnections;
    const ConnectionsByElement connections = Commander().GetElementTable()->GetConnectionsByElement();
    for (const std::string& id : Commander().GetElementIds()) {
        const auto found = connections.find(id);
        AddElement(id, found == connections.end() ? kNoConnections : found->second);
    }
}

void LoaderSaver::AddElement(const std::string& id, const std::vector<ConnectionRecord>& connections)
{
    boost::shared_ptr<ElementBase> element = Commander().GetElement(id);
    const std::string type = element->GetType();
    if (!CanHoldAll({&id, &type})) {
        FILE_LOG(logERROR) << "Could not save element " << id << " : its id or type cannot be held in a file";
        return;
    }
    QDomElement node = document_.createElement("Element");
    SetAttribute(node, "id", id);
    SetAttribute(node, "type", type);
    root_.appendChild(node);
    AddSettings(*element, node);
    AddConnections(connections, node);
}

void LoaderSaver::AddSettings(ElementBase& element, QDomElement& node)
{
    for (const ParameterItem& item : element.settings.GetItems()) {
        const std::string value = element.settings.GetValueAsString(item.name);
        if (!CanHoldAll({&item.name, &value, &item.descriptor})) {
            // The rest of the pipeline is still worth keeping.
            FILE_LOG(logERROR) << "Could not save setting " << item.name << " of element " << element.GetId()
                               << " : its text cannot be held in a file";
            continue;
        }
        QDomElement setting = document_.createElement("Settings");
        SetAttribute(setting, "name", item.name);
        SetAttribute(setting, "value", value);
        SetAttribute(setting, "extra", item.descriptor);
        node.appendChild(setting);
    }
}

void LoaderSaver::AddConnections(const std::vector<ConnectionRecord>& connections, QDomElement& node)
{
    for (const ConnectionRecord& record : connections) {
        if (!CanHoldAll(
                {&record.sink_element, &record.source_element, &record.sink_name, &record.source_name}))
            continue;  // the element at its other end was not saved either
        QDomElement connection = document_.createElement("Connection");
        SetAttribute(connection, "sink_element", record.sink_element);
        SetAttribute(connection, "source_element", record.source_element);
        SetAttribute(connection, "sink_name", record.sink_name);
        SetAttribute(connection, "source_name", record.source_name);
        node.appendChild(connection);
    }
}

void LoaderSaver::Load(const std::string& name)
{
    const std::string path = PipelineFilePath(name);
    Commander();  // without one nothing could be rebuilt: refuse before reading
    QByteArray content;
    if (!ReadFileBounded(path, kMaxPipelineFileBytes, content))
        throw CustomException("Could not read pipeline " + name);
    QDomDocument document("mydocument");
    ParsePipeline(name, content, document);
    const QDomElement root = document.documentElement();
    try {
        context_->GetSharedControl<NodeControls>("")->clear_editor_signal();
        LoadSettings(root, LoadElements(root));
        LoadConnections(root);
        if (editor_)
            editor_->UpdateFromBackend();
    } catch (...) {
        FILE_LOG(logERROR) << "Failed to load";
        throw;
    }
}

std::vector<std::string> LoaderSaver::LoadElements(const QDomElement& root)
{
    PowerCommanderTop& commander = Commander();
    commander.Clear();
    std::vector<std::string> made_ids;
    for (QDomElement node = root.firstChildElement(); !node.isNull(); node = node.nextSiblingElement()) {
        const std::string id = Attribute(node, "id");
        FILE_LOG(logDEBUG) << node.tagName().toStdString() << id;
        const std::string type = Attribute(node, "type");
        const std::string made = commander.MakeElement(type, id);
        const bool skipped = made.empty() || !commander.GetElementTable()->Exists(made);
        if (skipped)
            FILE_LOG(logERROR) << "Skipped element " << id << " of type " << type;
        made_ids.push_back(skipped ? std::string() : made);
    }
    return made_ids;
}

void LoaderSaver::LoadSettings(const QDomElement& root, const std::vector<std::string>& made_ids)
{
    PowerCommanderTop& commander = Commander();
    std::size_t index = 0;
    // Each entry's settings go to the element made for it, which an entry without an id
    // names only by its made id.
    for (QDomElement node = root.firstChildElement(); !node.isNull(); node = node.nextSiblingElement()) {
        const std::string& id = made_ids.at(index++);
        if (id.empty())
            continue;
        try {
            boost::shared_ptr<ElementBase> element = commander.GetElement(id);
            for (QDomElement setting = node.firstChildElement("Settings"); !setting.isNull();
                 setting = setting.nextSiblingElement("Settings"))
                element->settings.SetValue(Attribute(setting, "name"), Attribute(setting, "value"), "");
        } catch (...) {
        }
    }
}

void LoaderSaver::LoadConnections(const QDomElement& root)
{
    PowerCommanderTop& commander = Commander();
    commander.Stop();
    commander.DisconnectAllElements();
    for (QDomElement node = root.firstChildElement(); !node.isNull(); node = node.nextSiblingElement()) {
        for (QDomElement link = node.firstChildElement("Connection"); !link.isNull();
             link = link.nextSiblingElement("Connection")) {
            const std::string reply =
                commander.ConnectPads(Attribute(link, "source_element"), Attribute(link, "source_name"),
                                      Attribute(link, "sink_element"), Attribute(link, "sink_name"));
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
