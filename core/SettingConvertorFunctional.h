// Convertor of a setting that points at a T of the system's own types, through the pair
// of text functions OwnTypeText<T> gives. Takes no lock of its own: the thread-safe types
// lock inside their pair, the plain ones must not change while they are converted.
#pragma once

#include "core/CustomException.h"
#include "core/OwnTypeTextForms.h"
#include "core/ParameterItem.h"
#include "core/SettingsConvertorInterface.h"

#include <boost/any.hpp>

#include <string>
#include <typeinfo>

template <typename T>
class SettingConvertorFunctional : public SettingsConvertorInterface {
public:
    bool CanConvert(const ParameterItem& item) const override
    {
        return item.value.type() == typeid(T*);
    }

    bool FromString(ParameterItem& item, const std::string& text) const override
    {
        if (!CanConvert(item))
            return false;
        OwnTypeText<T>::Read(Variable(item), text);
        return true;
    }

    std::string ToString(const ParameterItem& item, int precision) const override
    {
        if (!CanConvert(item))
            throw CustomException("Could not covert thread safe variable to string");
        return OwnTypeText<T>::Write(Variable(item));
    }

private:
    static T& Variable(const ParameterItem& item)
    {
        T* variable = boost::any_cast<T*>(item.value);
        if (!variable)
            throw CustomException("Setting " + item.name + " points at no variable");
        return *variable;
    }
};
