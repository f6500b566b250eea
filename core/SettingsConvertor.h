// Convertor of a setting that points at a plain T (no lock): the owner must not change
// the variable while it is being converted.
#pragma once

#include "core/PointerSettingsConvertor.h"
#include "core/ValueText.h"

#include <string>

template <typename T>
class SettingsConvertor : public PointerSettingsConvertor<SettingsConvertor<T>, T> {
public:
    static constexpr const char* kMismatchMessage = "Could not convert item to string";

    static void Read(T& variable, const std::string& text) { variable = ValueFromText<T>(text); }
    static std::string Write(const T& variable, int precision) { return ValueToText(variable, precision); }
};
