// The pipeline file store: writes the commander's elements, their settings and their
// connections to "<name>.xml" in the per-user folder and rebuilds a pipeline from such a
// file. It serves the hub's save, load, delete and list signals for as long as it lives
// (the connections end with it) and runs on the thread that emits them (the GUI thread).
// A save, load or delete that fails throws CustomException, so the command that emitted
// the signal replies "Error, command failed"; callers outside the command interpreter use
// TrySave and TryLoad, which never throw. A file that cannot be read or parsed, or that
// lies beyond a bound, leaves the running pipeline untouched. The store does not own the editor.
#pragma once

#include "control/ConnectionRecord.h"
#include "control/PipelineEntry.h"

#include <QByteArray>

#include <boost/shared_ptr.hpp>
#include <boost/signals2/connection.hpp>

#include <string>
#include <unordered_map>
#include <vector>

class ControlAndStatus;
class ElementBase;
class NodeEditorInterface;
class PowerCommanderTop;
class QXmlStreamWriter;

class LoaderSaver {
public:
    // editor may be null.
    LoaderSaver(NodeEditorInterface* editor, boost::shared_ptr<ControlAndStatus> context);
    ~LoaderSaver();
    LoaderSaver(const LoaderSaver&) = delete;
    LoaderSaver& operator=(const LoaderSaver&) = delete;

    // Refuses, writing nothing, a pipeline whose file a load would refuse (see
    // PipelineFiles.h), and to write through a symbolic link. A setting (or element) whose
    // text a file cannot hold is left out with an ERROR line and the rest is written; the
    // save then throws all the same, as it did not keep everything.
    void Save(const std::string& name);
    // Refuses, before changing anything, a file that is missing, not a regular file (a
    // link, say), unreadable, not well-formed, not rooted in "top" or beyond a bound of
    // PipelineFiles.h. An element that cannot be made (a type the catalogue lacks) is
    // skipped and a setting that cannot be set is left as it is; the first few of each are
    // logged with their ids, the rest counted in one line, and the rest of the file loads.
    void Load(const std::string& name);
    // Refuses to delete a symbolic link.
    void Delete(const std::string& name);

    // Save and Load for callers outside the command interpreter (the main window's
    // destructor and start-up load): a failure is logged at ERROR and gives false.
    bool TrySave(const std::string& name) noexcept;
    bool TryLoad(const std::string& name) noexcept;

    // The names of the ".xml" files of the per-user folder, without folder or extension.
    std::vector<std::string> GetSavedFiles();

private:
    PowerCommanderTop& Commander();

    using ConnectionsByElement = std::unordered_map<std::string, std::vector<ConnectionRecord>>;

    // The file's text: every element the pipeline file can hold, with its settings and
    // connections; what it cannot hold is left out, logged and counted in left_out_. The
    // writer escapes in time that grows with the text, where the DOM's escaping grew
    // with its square.
    QByteArray WritePipeline();
    void AddAllElements(QXmlStreamWriter& writer);
    // connections: the element's records (ElementTable::GetConnections).
    void AddElement(const std::string& id, const std::vector<ConnectionRecord>& connections,
                    QXmlStreamWriter& writer);
    void AddSettings(ElementBase& element, QXmlStreamWriter& writer);
    static void AddConnections(const std::vector<ConnectionRecord>& connections, QXmlStreamWriter& writer);
    // Throws unless a load would take the file's text.
    static void RequireLoadable(const std::string& name, const QByteArray& content);

    // The id made for each entry in file order, empty where none was made.
    std::vector<std::string> LoadElements(const std::vector<PipelineEntry>& entries);
    void LoadSettings(const std::vector<PipelineEntry>& entries, const std::vector<std::string>& made_ids);
    void LoadConnections(const std::vector<PipelineEntry>& entries);

    NodeEditorInterface* editor_;
    boost::shared_ptr<ControlAndStatus> context_;
    // Elements and settings the save in progress has left out.
    int left_out_ = 0;
    std::vector<boost::signals2::scoped_connection> connections_;
};
