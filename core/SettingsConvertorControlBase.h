// Convertor of a setting that points at a boost::shared_ptr<T> to a control record: the
// record's settings in the control text form. It holds its own copy of the shared pointer
// while it works, so the record cannot go meanwhile. An empty shared pointer gives "" and
// reads nothing.
#pragma once

#include "core/CustomException.h"
#include "core/OwnTypeTextForms.h"
#include "core/ParameterItem.h"
#include "core/SettingsConvertorInterface.h"

#include <boost/any.hpp>
#include <boost/shared_ptr.hpp>

#include <string>
#include <typeinfo>

template <typename T>
class SettingsConvertorControlBase : public SettingsConvertorInterface {
public:
    bool CanConvert(const ParameterItem& item) const override
    {
        return item.value.type() == typeid(boost::shared_ptr<T>*);
    }

    bool FromString(ParameterItem& item, const std::string& text) const override
    {
        if (!CanConvert(item))
            return false;
        const boost::shared_ptr<T> record = Record(item);
        if (record)
            ControlFromString(*record, text);
        return true;
    }

    std::string ToString(const ParameterItem& item, int precision) const override
    {
        if (!CanConvert(item))
            throw CustomException("Could not covert control to string");
        const boost::shared_ptr<T> record = Record(item);
        return record ? ControlToString(*record) : std::string();
    }

private:
    static boost::shared_ptr<T> Record(const ParameterItem& item)
    {
        const boost::shared_ptr<T>* holder = boost::any_cast<boost::shared_ptr<T>*>(item.value);
        return holder ? *holder : boost::shared_ptr<T>();
    }
};
