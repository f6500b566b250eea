#include "core/ParameterItem.h"

#include "core/SettingsConvertorInterface.h"
#include "core/Utilities.h"
#include "core/ValueText.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <utility>

namespace {

double ReadNumberOr(const std::string& text, double fallback)
{
    try {
        return ValueFromText<double>(text);
    } catch (...) {
        return fallback;
    }
}

}  // namespace

ParameterItem::ParameterItem(std::string item_name, boost::any item_value, std::string item_descriptor)
    : name(std::move(item_name)), value(std::move(item_value)), descriptor(std::move(item_descriptor))
{
}

ParameterItem::~ParameterItem()
{
    if (destroyed_signal_)
        (*destroyed_signal_)(this);
}

ParameterItem::DestroyedSignal& ParameterItem::GetDestroyedSignal()
{
    if (!destroyed_signal_)
        destroyed_signal_.reset(new DestroyedSignal);
    return *destroyed_signal_;
}

std::string ParameterItem::GetDescriptorValue(const std::string& key) const
{
    return GetValue(descriptor, key);
}

double ParameterItem::GetMin() const
{
    return ReadNumberOr(GetDescriptorValue("min"), 0.0);
}

double ParameterItem::GetMax() const
{
    return ReadNumberOr(GetDescriptorValue("max"), 1000.0);
}

std::vector<std::string> ParameterItem::GetItems() const
{
    for (const std::string& field : Split(descriptor, ',')) {
        const std::vector<std::string> parts = Split(field, '=');
        if (parts.size() >= 2 && parts[0] == "items")
            return ParseItemList(parts[1]);
    }
    return {};
}

std::string ParameterItem::GetTypeName() const
{
    const char* mangled = value.type().name();
    int status = 0;
    std::unique_ptr<char, decltype(&std::free)> readable(
        abi::__cxa_demangle(mangled, nullptr, nullptr, &status), &std::free);
    return status == 0 && readable ? std::string(readable.get()) : std::string(mangled);
}
