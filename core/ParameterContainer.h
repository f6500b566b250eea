// The ordered settings of one configurable object. It owns the items, not the variables
// they point at, and turns values into text and back through the convertor registry.
// Items are added while the object is being constructed; afterwards the list does not
// change. No lock: values pass through the variables' own locks.
#pragma once

#include "core/ParameterItem.h"
#include "core/SettingsConvertorInterface.h"
#include "core/SettingsLoader.h"

#include <boost/any.hpp>
#include <boost/shared_ptr.hpp>

#include <string>
#include <utility>
#include <vector>

class ParameterContainer {
public:
    ParameterContainer();
    ParameterContainer(const ParameterContainer&) = delete;
    ParameterContainer& operator=(const ParameterContainer&) = delete;

    // Appends the setting; a "default" key in the descriptor is then applied to the
    // first item of that name (lower-cased and without spaces, as descriptors read).
    template <typename T>
    void AddSetting(const std::string& name, T* variable, const std::string& descriptor)
    {
        AddItem(ParameterItem(name, boost::any(variable), descriptor));
    }

    // The first item of exactly that name; throws CustomException
    // "Could not find setting item <name>" when there is none.
    ParameterItem& FindItem(const std::string& name);

    // The item's kept convertor, or the first registry row that can convert it, then
    // kept in the item; throws CustomException
    // "Could not find setting convertor for <type name>" when none can.
    static boost::shared_ptr<SettingsConvertorInterface> GetConvertor(ParameterItem& item);

    // The value as text (precision -1); "" and an ERROR line on any failure.
    std::string GetValueAsString(const std::string& name);
    // Sets the value from text, and replaces the descriptor when one is given. Failures
    // are logged, never thrown; the variable and descriptor then stay as they were.
    // Emits no signal and leaves the settings-changed flag alone.
    void SetValue(const std::string& name, const std::string& value, const std::string& descriptor);

    // Name and value text of every item, in registration order.
    std::vector<std::pair<std::string, std::string>> GetNameValuePairs();
    // A copy of the item list.
    std::vector<ParameterItem> GetItems() const;
    // The items themselves, in order (names may repeat); valid while the container lives.
    std::vector<ParameterItem*> GetLiveItems();
    // "name = value" lines, one per item.
    std::string ToString();

    // "name=value" lines, through a temporary file that replaces the old one only when all
    // of it was written; never through a link. On failure a DEBUG1 and an ERROR line, and
    // the old file stays as it was.
    void SaveToFile(const std::string& path, bool append);
    // Applies each line of the file. A missing file is skipped; anything but a regular file
    // of at most 1 MiB is one ERROR line, changes nothing and returns false.
    bool LoadFromFile(const std::string& path);
    // One settings-file line: text from "#" on is dropped, the name runs to the first "=",
    // the value to a second "=" or the end; nothing is trimmed; no value, no change. A
    // "_setting_name" other than the object's own is ignored with a WARNING.
    void ParseSettingLine(std::string line);

    // Entry point of the control text form for this container.
    SettingsLoader loader;

private:
    void AddItem(ParameterItem item);

    std::vector<ParameterItem> items_;
};
