// Convertor of a setting that points at a ThreadSafeVariable<T>: reads and writes under
// the variable's own mutex, the parse of a new value included.
#pragma once

#include "core/CustomException.h"
#include "core/ParameterItem.h"
#include "core/SettingsConvertorInterface.h"
#include "core/ThreadSafeVariable.h"

#include <boost/any.hpp>

#include <string>
#include <typeinfo>

template <typename T>
class SettingsConvertorThreadSafe : public SettingsConvertorInterface {
public:
    bool CanConvert(const ParameterItem& item) const override
    {
        return item.value.type() == typeid(ThreadSafeVariable<T>*);
    }

    bool FromString(ParameterItem& item, const std::string& text) const override
    {
        if (!CanConvert(item))
            return false;
        boost::any_cast<ThreadSafeVariable<T>*>(item.value)->SetFromString(text);
        return true;
    }

    std::string ToString(const ParameterItem& item, int precision) const override
    {
        if (!CanConvert(item))
            throw CustomException("Could not covert thread safe variable to string");
        return boost::any_cast<ThreadSafeVariable<T>*>(item.value)->ToString(precision);
    }
};
