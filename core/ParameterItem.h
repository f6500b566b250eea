// One published setting: a name, a pointer to the live variable (inside a boost::any,
// never a copy of the variable) and a descriptor of user-interface hints such as
// "min=0, max=255" or "items=[Rectangle][Cross]". The item does not own the variable.
// Copies point at the same variable and share the kept convertor and destroyed signal.
#pragma once

#include <boost/any.hpp>
#include <boost/shared_ptr.hpp>
#include <boost/signals2/signal.hpp>

#include <string>
#include <vector>

class SettingsConvertorInterface;

class ParameterItem {
public:
    using DestroyedSignal = boost::signals2::signal<void(ParameterItem*)>;

    ParameterItem(std::string name, boost::any value, std::string descriptor);
    ParameterItem(const ParameterItem&) = default;
    ParameterItem(ParameterItem&&) = default;
    ParameterItem& operator=(const ParameterItem&) = default;
    ParameterItem& operator=(ParameterItem&&) = default;
    // Fires the destroyed signal (when made) with this item's address.
    ~ParameterItem();

    // Made on the first call; the same signal afterwards, shared with copies.
    DestroyedSignal& GetDestroyedSignal();

    // Value of the key, read lower-cased and without spaces; "" when absent.
    std::string GetDescriptorValue(const std::string& key) const;
    // "min" as a number, 0.0 when absent or not a number.
    double GetMin() const;
    // "max" as a number, 1000.0 when absent or not a number.
    double GetMax() const;
    // The bracketed items of "items" (read case- and space-preserving); empty when absent.
    std::vector<std::string> GetItems() const;
    // Readable name of the held pointer type, e.g. "ThreadSafeVariable<int>*"; "void" when empty.
    std::string GetTypeName() const;

    std::string name;
    boost::any value;
    std::string descriptor;
    // Empty until the container first looks it up, then kept.
    boost::shared_ptr<SettingsConvertorInterface> convertor;

private:
    boost::shared_ptr<DestroyedSignal> destroyed_signal_;
};
