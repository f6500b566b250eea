#include "core/ControlAndStatus.h"

#include "core/FILELog.h"
#include "core/MoveAside.h"
#include "core/SafeFiles.h"
#include "core/SharedGUI.h"

#include <QDir>
#include <QString>

#include <iostream>

namespace {

constexpr char kSettingsFileExtension[] = ".txt";

// home + relative, created with its parents when missing, ending in exactly one "/".
std::string MakeUserDirectory(const QString& relative)
{
    const QString path = QDir::cleanPath(QDir::homePath() + relative);
    QDir directory(path);
    if (!directory.exists()) {
        directory.mkpath(".");
    }
    return (path + "/").toStdString();
}

}  // namespace

ControlAndStatus::ControlAndStatus() : ControlBaseClass("main controls")
{
    GetSettingsDirectory();
}

ControlAndStatus::~ControlAndStatus()
{
    std::cout << "Destroyed Control and Status" << std::endl;
    boost::shared_ptr<PowerCommanderTop> commander;
    {
        boost::lock_guard<boost::mutex> lock(commander_mutex_);
        commander.swap(commander_);
    }
}

SharedGUI* ControlAndStatus::GetSharedGUI()
{
    {
        boost::lock_guard<boost::mutex> lock(registry_mutex_);
        if (shared_gui_ != nullptr) {
            return shared_gui_;
        }
    }
    SharedGUI* gui = GetSharedControl<SharedGUI>("").get();
    boost::lock_guard<boost::mutex> lock(registry_mutex_);
    shared_gui_ = gui;
    return shared_gui_;
}

boost::shared_ptr<ControlBaseClass> ControlAndStatus::GetOrMake(const std::string& type_name,
                                                                const std::string& instance_name,
                                                                const RecordMaker& make)
{
    std::shared_ptr<PendingRecord> pending;
    {
        boost::lock_guard<boost::mutex> lock(registry_mutex_);
        if (boost::shared_ptr<ControlBaseClass> found = FindEntry(type_name, instance_name)) {
            return found;
        }
        std::shared_ptr<PendingRecord>& slot = pending_[std::make_pair(type_name, instance_name)];
        if (!slot) {
            slot = std::make_shared<PendingRecord>();
        }
        pending = slot;
    }
    // Made and read outside the lock; a throw leaves the flag unset for the next caller.
    std::call_once(pending->once, [&] {
        boost::shared_ptr<ControlBaseClass> control = make();
        std::string file_name = ClaimSettingsFile(*control, instance_name);
        if (!file_name.empty() && !LoadControlSettings(*control, file_name))
            file_name.clear();  // stays claimed, and unwritten
        boost::lock_guard<boost::mutex> lock(registry_mutex_);
        registry_.push_back(SharedControlEntry{instance_name, control, type_name, file_name});
        pending_.erase(std::make_pair(type_name, instance_name));
        pending->control = control;
    });
    return pending->control;
}

void ControlAndStatus::SetCommander(boost::shared_ptr<PowerCommanderTop> commander)
{
    boost::lock_guard<boost::mutex> lock(commander_mutex_);
    commander_ = commander;
}

PowerCommanderTop* ControlAndStatus::GetCommander()
{
    boost::lock_guard<boost::mutex> lock(commander_mutex_);
    return commander_.get();
}

std::string ControlAndStatus::GetSettingsDirectory()
{
    return MakeUserDirectory("/orvane/");
}

std::string ControlAndStatus::GetImagesDirectory()
{
    return MakeUserDirectory("/orvane/images/");
}

std::string ControlAndStatus::ClaimSettingsFile(const ControlBaseClass& control,
                                                const std::string& instance_name)
{
    // Taken before the file is read: a value read from it cannot rename it.
    const std::string base = instance_name.empty() ? control.name : control.name + "-" + instance_name;
    const std::string file_name = base + kSettingsFileExtension;
    if (!IsSafeFileName(file_name)) {
        FILE_LOG(logWARNING) << "No settings file for the record " << base
                             << " : its name cannot name a file";
        return "";
    }
    boost::lock_guard<boost::mutex> lock(registry_mutex_);
    if (!settings_files_.insert(file_name).second) {
        FILE_LOG(logWARNING) << "No settings file for the record " << base << " : another record has "
                             << file_name;
        return "";
    }
    return file_name;
}

bool ControlAndStatus::LoadControlSettings(ControlBaseClass& control, const std::string& file_name)
{
    const std::string path = GetSettingsDirectory() + file_name;
    if (control.settings.LoadFromFile(path))
        return true;
    // The close would write the record's first values over the user's own.
    const std::string stem = file_name.substr(0, file_name.size() - (sizeof(kSettingsFileExtension) - 1));
    return MoveRefusedFileAside(path, GetSettingsDirectory() + stem + "-unreadable", kSettingsFileExtension,
                                "The settings file " + path);
}

void ControlAndStatus::SaveControlSettings(ControlBaseClass& control, const std::string& file_name)
{
    control.settings.SaveToFile(GetSettingsDirectory() + file_name, false);
}

void ControlAndStatus::SaveAllControlSettings()
{
    std::vector<SharedControlEntry> entries;
    {
        boost::lock_guard<boost::mutex> lock(registry_mutex_);
        entries = registry_;
    }
    for (const SharedControlEntry& entry : entries) {
        if (!entry.settings_file.empty())
            SaveControlSettings(*entry.control, entry.settings_file);
    }
}

boost::shared_ptr<ControlBaseClass> ControlAndStatus::FindEntry(const std::string& type_name,
                                                                const std::string& instance_name) const
{
    for (const SharedControlEntry& entry : registry_) {
        if (entry.type_name == type_name && entry.instance_name == instance_name) {
            return entry.control;
        }
    }
    return boost::shared_ptr<ControlBaseClass>();
}
