// The pipeline file store: writes the commander's elements, their settings and their
// connections to "<name>.xml" in the per-user folder and rebuilds a pipeline from such a
// file. It serves the hub's save, load, delete and list signals for as long as it lives
// (the connections end with it) and runs on the thread that emits them (the GUI thread).
// A save, load or delete that fails throws CustomException, so the command that emitted
// the signal replies "Error, command failed"; callers outside the command interpreter use
// TrySave and TryLoad, which never throw. A file that cannot be read or parsed leaves the
// running pipeline untouched. The store does not own the editor.
#pragma once

#include "control/ConnectionRecord.h"

#include <QDomDocument>
#include <QDomElement>

#include <boost/shared_ptr.hpp>
#include <boost/signals2/connection.hpp>

#include <string>
#include <unordered_map>
#include <vector>

class ControlAndStatus;
class ElementBase;
class NodeEditorInterface;
class PowerCommanderTop;

class LoaderSaver {
public:
    // editor may be null.
    LoaderSaver(NodeEditorInterface* editor, boost::shared_ptr<ControlAndStatus> context);
    ~LoaderSaver();
    LoaderSaver(const LoaderSaver&) = delete;
    LoaderSaver& operator=(const LoaderSaver&) = delete;

    void ResetDocument();

    // A setting (or element) whose text XML cannot hold is left out with an ERROR line;
    // the rest is saved. Refuses to write through a symbolic link.
    void Save(const std::string& name);
    // Refuses, before changing anything, a file that is missing, not a regular file (a
    // link, say), unreadable, larger than 16 MiB, not well-formed, not rooted in "top" or
    // holding more than 20,000 elements.
    // An element that cannot be made (a type the catalogue lacks) is logged with its type
    // and id and skipped; the rest loads.
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

    void AddAllElements();
    // connections: the element's records (ElementTable::GetConnections).
    void AddElement(const std::string& id, const std::vector<ConnectionRecord>& connections);
    void AddSettings(ElementBase& element, QDomElement& node);
    void AddConnections(const std::vector<ConnectionRecord>& connections, QDomElement& node);

    // The id made for each entry in file order, empty where none was made.
    std::vector<std::string> LoadElements(const QDomElement& root);
    void LoadSettings(const QDomElement& root, const std::vector<std::string>& made_ids);
    void LoadConnections(const QDomElement& root);

    NodeEditorInterface* editor_;
    boost::shared_ptr<ControlAndStatus> context_;
    QDomDocument document_;
    QDomElement root_;
    std::vector<boost::signals2::scoped_connection> connections_;
};
