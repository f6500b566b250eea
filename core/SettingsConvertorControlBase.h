// Convertor of a setting that points at a boost::shared_ptr<T> to a control record: the
// record's settings in the control text form; the precision is not used. It holds its own
// copy of the shared pointer while it works, so the record cannot go meanwhile. An empty
// shared pointer gives "" and reads nothing.
#pragma once

#include "core/OwnTypeTextForms.h"
#include "core/PointerSettingsConvertor.h"

#include <boost/shared_ptr.hpp>

#include <string>

template <typename T>
class SettingsConvertorControlBase
    : public PointerSettingsConvertor<SettingsConvertorControlBase<T>, boost::shared_ptr<T>> {
public:
    static constexpr const char* kMismatchMessage = "Could not covert control to string";

    static void Read(const boost::shared_ptr<T>& holder, const std::string& text)
    {
        const boost::shared_ptr<T> record = holder;
        if (record)
            ControlFromString(*record, text);
    }
    static std::string Write(const boost::shared_ptr<T>& holder, int)
    {
        const boost::shared_ptr<T> record = holder;
        return record ? ControlToString(*record) : std::string();
    }
};
