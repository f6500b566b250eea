// Convertor of a setting that points at a ThreadSafeVariable<T>: reads and writes under
// the variable's own mutex, the parse of a new value included.
#pragma once

#include "core/PointerSettingsConvertor.h"
#include "core/ThreadSafeVariable.h"

#include <string>

template <typename T>
class SettingsConvertorThreadSafe
    : public PointerSettingsConvertor<SettingsConvertorThreadSafe<T>, ThreadSafeVariable<T>> {
public:
    static constexpr const char* kMismatchMessage = "Could not covert thread safe variable to string";

    static void Read(ThreadSafeVariable<T>& variable, const std::string& text)
    {
        variable.SetFromString(text);
    }
    static std::string Write(const ThreadSafeVariable<T>& variable, int precision)
    {
        return variable.ToString(precision);
    }
};
