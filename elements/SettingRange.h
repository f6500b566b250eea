// The range a numeric setting's descriptor names ("min=1, max=11"), to hold the value
// an element uses to it: the variable may hold anything a file or a command put there.
// A bound the descriptor does not name, or "other=no-limits", leaves that side open.
// OfItems gives the index range of an "items=[A][B]" list.
#pragma once

#include <charconv>
#include <limits>
#include <string>
#include <system_error>

#include "core/Utilities.h"

template <typename T>
class SettingRange {
public:
    explicit SettingRange(const std::string& descriptor)
    {
        if (GetValue(descriptor, "other") == "no-limits")
            return;
        ReadBound(GetValue(descriptor, "min"), low_);
        ReadBound(GetValue(descriptor, "max"), high_);
    }

    static SettingRange OfItems(const std::string& descriptor)
    {
        SettingRange range("");
        const std::size_t count = ParseItemList(GetValue(descriptor, "items")).size();
        range.low_ = 0;
        range.high_ = static_cast<T>(count == 0 ? 0 : count - 1);
        return range;
    }

    // The value, or the nearer bound when outside; a NaN becomes the lower bound.
    T Hold(T value) const
    {
        if (!(value >= low_))
            return low_;
        return value > high_ ? high_ : value;
    }

private:
    static void ReadBound(const std::string& text, T& bound)
    {
        double value = 0.0;
        const char* end = text.data() + text.size();
        const std::from_chars_result result = std::from_chars(text.data(), end, value);
        if (text.empty() || result.ec != std::errc() || result.ptr != end)
            return;
        // Kept inside T before the conversion, which is undefined outside it.
        const double lowest = static_cast<double>(std::numeric_limits<T>::lowest());
        const double highest = static_cast<double>(std::numeric_limits<T>::max());
        bound = value <= lowest    ? std::numeric_limits<T>::lowest()
                : value >= highest ? std::numeric_limits<T>::max()
                                   : static_cast<T>(value);
    }

    T low_ = std::numeric_limits<T>::lowest();
    T high_ = std::numeric_limits<T>::max();
};
