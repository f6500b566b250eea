// What every convertor family shares: it serves exactly the items whose value holds a
// Held* (compared for equality, no conversion), refuses others, and reaches the variable
// through that pointer. The family (Family, a class derived from this one) supplies only
// its text form: static Read (variable, text), Write (variable, precision) and the
// kMismatchMessage that ToString throws for an item it does not serve. Stateless; the
// item, not the convertor, points at the variable, and neither owns it.
#pragma once

#include "core/CustomException.h"
#include "core/ParameterItem.h"
#include "core/SettingsConvertorInterface.h"

#include <boost/any.hpp>

#include <string>
#include <typeinfo>

template <typename Family, typename Held>
class PointerSettingsConvertor : public SettingsConvertorInterface {
public:
    bool CanConvert(const ParameterItem& item) const override { return item.value.type() == typeid(Held*); }

    bool FromString(ParameterItem& item, const std::string& text) const override
    {
        if (!CanConvert(item))
            return false;
        Family::Read(Variable(item), text);
        return true;
    }

    std::string ToString(const ParameterItem& item, int precision) const override
    {
        if (!CanConvert(item))
            throw CustomException(Family::kMismatchMessage);
        return Family::Write(Variable(item), precision);
    }

private:
    static Held& Variable(const ParameterItem& item)
    {
        Held* variable = boost::any_cast<Held*>(item.value);
        if (!variable)
            throw CustomException("Setting " + item.name + " points at no variable");
        return *variable;
    }
};
