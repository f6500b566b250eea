// Turns the variable behind a setting into text and text back into the variable.
// Convertors are stateless; each serves exactly one held pointer type, compared for
// equality with what the item's value holds (no conversion, no inheritance).
#pragma once

#include <string>

class ParameterItem;

class SettingsConvertorInterface {
public:
    virtual ~SettingsConvertorInterface() = default;
    // True exactly when the item's value holds this convertor's pointer type.
    virtual bool CanConvert(const ParameterItem& item) const = 0;
    // Stores the text's value and returns true; false (nothing changed) for an item of
    // another type. A text that cannot be read throws.
    virtual bool FromString(ParameterItem& item, const std::string& text) const = 0;
    // Precision -1 is the default stream format, others fixed-point decimals.
    // Throws CustomException for an item of another type.
    virtual std::string ToString(const ParameterItem& item, int precision) const = 0;
};
