#include "core/ParameterContainer.h"

#include "core/CustomException.h"
#include "core/FILELog.h"
#include "core/SafeFiles.h"
#include "core/SettingsConvertors.h"
#include "core/Utilities.h"

#include <sstream>

namespace {

// Far more than any object's settings; a longer file is not a settings file.
constexpr long long kMaxSettingsFileBytes = 1024 * 1024;

const char* const kNameSetting = "_setting_name";

}  // namespace

ParameterContainer::ParameterContainer() : loader(this) {}

void ParameterContainer::AddItem(ParameterItem item)
{
    items_.push_back(std::move(item));
    const ParameterItem& added = items_.back();
    const std::string default_value = added.GetDescriptorValue("default");
    if (!default_value.empty())
        SetValue(added.name, default_value, "");
}

ParameterItem& ParameterContainer::FindItem(const std::string& name)
{
    for (ParameterItem& item : items_) {
        if (item.name == name)
            return item;
    }
    throw CustomException("Could not find setting item " + name);
}

boost::shared_ptr<SettingsConvertorInterface> ParameterContainer::GetConvertor(ParameterItem& item)
{
    if (item.convertor)
        return item.convertor;
    for (const boost::shared_ptr<SettingsConvertorInterface>& convertor : GetSettingsConvertors()) {
        if (convertor->CanConvert(item)) {
            item.convertor = convertor;
            return convertor;
        }
    }
    throw CustomException("Could not find setting convertor for " + item.GetTypeName());
}

std::string ParameterContainer::GetValueAsString(const std::string& name)
{
    try {
        ParameterItem& item = FindItem(name);
        return GetConvertor(item)->ToString(item, -1);
    } catch (...) {
        FILE_LOG(logERROR) << "Could not get value for " << name;
        return "";
    }
}

void ParameterContainer::SetValue(const std::string& name, const std::string& value,
                                  const std::string& descriptor)
{
    try {
        ParameterItem& item = FindItem(name);
        GetConvertor(item)->FromString(item, value);
        if (!descriptor.empty())
            item.descriptor = descriptor;
    } catch (...) {
        FILE_LOG(logERROR) << "Could not find setting item for " << name << " to set value " << value;
    }
}

std::vector<std::pair<std::string, std::string>> ParameterContainer::GetNameValuePairs()
{
    std::vector<std::pair<std::string, std::string>> pairs;
    pairs.reserve(items_.size());
    for (const ParameterItem& item : items_)
        pairs.emplace_back(item.name, GetValueAsString(item.name));
    return pairs;
}

std::vector<ParameterItem> ParameterContainer::GetItems() const
{
    return items_;
}

std::vector<ParameterItem*> ParameterContainer::GetLiveItems()
{
    std::vector<ParameterItem*> items;
    items.reserve(items_.size());
    for (ParameterItem& item : items_)
        items.push_back(&item);
    return items;
}

std::string ParameterContainer::ToString()
{
    std::string text;
    for (const auto& pair : GetNameValuePairs())
        text += pair.first + " = " + pair.second + "\n";
    return text;
}

void ParameterContainer::SaveToFile(const std::string& path, bool append)
{
    QByteArray content;
    const bool readable =
        !append || !PathExists(path) || ReadFileBounded(path, kMaxSettingsFileBytes, content);
    for (const auto& pair : GetNameValuePairs())
        content += QByteArray::fromStdString(pair.first + "=" + pair.second + "\n");
    if (!readable || !WriteFileReplacing(path, content)) {
        FILE_LOG(logDEBUG1) << "Could not save file";
        FILE_LOG(logERROR) << "Could not write the settings file " << path;
    }
}

bool ParameterContainer::LoadFromFile(const std::string& path)
{
    if (!PathExists(path))
        return true;  // not written yet
    QByteArray content;
    if (!ReadFileBounded(path, kMaxSettingsFileBytes, content)) {
        FILE_LOG(logERROR) << "Could not read the settings file " << path;
        return false;
    }
    std::istringstream lines(content.toStdString());
    std::string line;
    while (std::getline(lines, line))
        ParseSettingLine(line);
    return true;
}

void ParameterContainer::ParseSettingLine(std::string line)
{
    try {
        // A file written on another system ends its lines in "\r\n".
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::istringstream rest(TextBefore(line, '#'));
        std::string name;
        std::string value;
        if (!std::getline(rest, name, '=') || !std::getline(rest, value, '='))
            return;
        // The name is the object's own; a file does not rename it.
        if (name == kNameSetting && value != GetValueAsString(kNameSetting)) {
            FILE_LOG(logWARNING) << "Ignored the name " << value << " in the settings of "
                                 << GetValueAsString(kNameSetting);
            return;
        }
        SetValue(name, value, "");
    } catch (...) {
        // A line that cannot be read changes nothing; SetValue has logged its own failures.
    }
}
