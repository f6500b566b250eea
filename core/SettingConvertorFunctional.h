// Convertor of a setting that points at a T of the system's own types, through the pair
// of text functions OwnTypeText<T> gives; the precision is not used. Takes no lock of its
// own: the thread-safe types lock inside their pair, the plain ones must not change while
// they are converted.
#pragma once

#include "core/OwnTypeTextForms.h"
#include "core/PointerSettingsConvertor.h"

#include <string>

template <typename T>
class SettingConvertorFunctional : public PointerSettingsConvertor<SettingConvertorFunctional<T>, T> {
public:
    static constexpr const char* kMismatchMessage = "Could not covert thread safe variable to string";

    static void Read(T& variable, const std::string& text) { OwnTypeText<T>::Read(variable, text); }
    static std::string Write(T& variable, int) { return OwnTypeText<T>::Write(variable); }
};
