#pragma once
// The process-wide hub of the back end. It owns the registry of shared control records (one per
// type and instance name, each read from its settings file in the per-user folder when made),
// the back-end signals and the link to the commander. A record's file is named when the record
// is made, from its own name and the instance name, and no two records share one. The
// commander lives in a higher library, so it is only declared here and held by shared pointer.

#include "core/ControlBaseClass.h"
#include "core/SharedControlEntry.h"

#include <boost/pointer_cast.hpp>
#include <boost/shared_ptr.hpp>
#include <boost/signals2/signal.hpp>
#include <boost/thread/lock_guard.hpp>
#include <boost/thread/mutex.hpp>

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <typeinfo>
#include <utility>
#include <vector>

class PowerCommanderTop;
class SharedGUI;

class ControlAndStatus : public ControlBaseClass {
public:
    ControlAndStatus();
    ~ControlAndStatus() override;
    ControlAndStatus(const ControlAndStatus&) = delete;
    ControlAndStatus& operator=(const ControlAndStatus&) = delete;

    // Get-or-create; safe from any thread. A new record reads its settings file before any
    // other caller can see it. It is made outside the registry lock, so a record may ask
    // for another while it is made (but not for itself).
    template <typename T>
    boost::shared_ptr<T> GetSharedControl(const std::string& instance_name);

    // The registry's "shared gui" record; the registry keeps it alive.
    SharedGUI* GetSharedGUI();

    void SetCommander(boost::shared_ptr<PowerCommanderTop> commander);
    PowerCommanderTop* GetCommander();

    // $HOME + "/orvane/" (and "images/" below it), created when missing; always ends in "/".
    static std::string GetSettingsDirectory();
    static std::string GetImagesDirectory();

    // Writes the file of every record made in this run that has one, in creation order.
    void SaveAllControlSettings();

private:
    // Reads the record's file. One that the read refuses is moved aside; false when it could
    // not be, and then the record's file is never written.
    static bool LoadControlSettings(ControlBaseClass& control, const std::string& file_name);
    static void SaveControlSettings(ControlBaseClass& control, const std::string& file_name);
    // The file name of a record just made, now its own; empty, with a WARNING, when the name
    // cannot name a file or another record has that file.
    std::string ClaimSettingsFile(const ControlBaseClass& control, const std::string& instance_name);
    // A record being made: callers of one type and name wait on its once flag.
    struct PendingRecord {
        std::once_flag once;
        boost::shared_ptr<ControlBaseClass> control;
    };
    using RecordMaker = std::function<boost::shared_ptr<ControlBaseClass>()>;

    boost::shared_ptr<ControlBaseClass> GetOrMake(const std::string& type_name,
                                                  const std::string& instance_name, const RecordMaker& make);
    // Expects registry_mutex_ to be held.
    boost::shared_ptr<ControlBaseClass> FindEntry(const std::string& type_name,
                                                  const std::string& instance_name) const;

    boost::mutex registry_mutex_;  // guards registry_, pending_, settings_files_ and shared_gui_
    std::vector<SharedControlEntry> registry_;
    std::set<std::string> settings_files_;  // the file names claimed so far
    // Keyed by type name and instance name.
    std::map<std::pair<std::string, std::string>, std::shared_ptr<PendingRecord>> pending_;

public:
    boost::signals2::signal<void()> tick_signal;
    boost::signals2::signal<void()> reset_pipeline_signal;
    // The pipeline store's slots throw CustomException when a save, load or delete fails;
    // emitters outside the command interpreter call the store's TrySave / TryLoad instead.
    boost::signals2::signal<void(std::string)> save_signal;
    boost::signals2::signal<void(std::string)> load_signal;
    boost::signals2::signal<void(std::string)> delete_signal;
    boost::signals2::signal<std::vector<std::string>()> list_signal;

private:
    boost::mutex commander_mutex_;  // guards commander_
    boost::shared_ptr<PowerCommanderTop> commander_;
    SharedGUI* shared_gui_ = nullptr;
};

template <typename T>
boost::shared_ptr<T> ControlAndStatus::GetSharedControl(const std::string& instance_name)
{
    return boost::dynamic_pointer_cast<T>(GetOrMake(
        typeid(T).name(), instance_name, [] { return boost::shared_ptr<ControlBaseClass>(new T()); }));
}
