// Convertor of a setting that points at a plain T (no lock): the owner must not change
// the variable while it is being converted.
#pragma once

#include "core/CustomException.h"
#include "core/ParameterItem.h"
#include "core/SettingsConvertorInterface.h"
#include "core/ValueText.h"

#include <boost/any.hpp>

#include <string>
#include <typeinfo>

template <typename T>
class SettingsConvertor : public SettingsConvertorInterface {
public:
    bool CanConvert(const ParameterItem& item) const override
    {
        return item.value.type() == typeid(T*);
    }

    bool FromString(ParameterItem& item, const std::string& text) const override
    {
        if (!CanConvert(item))
            return false;
        *boost::any_cast<T*>(item.value) = ValueFromText<T>(text);
        return true;
    }

    std::string ToString(const ParameterItem& item, int precision) const override
    {
        if (!CanConvert(item))
            throw CustomException("Could not convert item to string");
        return ValueToText(*boost::any_cast<T*>(item.value), precision);
    }
};
