// Text form of the plain value types of settings (numbers, characters, bool, text).
// Always in the classic "C" locale, whatever locale the process or Qt has set, so
// settings files and commands read the same everywhere. Reading follows
// boost::lexical_cast's rules: the whole text must be one value, no spaces around it.
#pragma once

#include "core/StorableText.h"

#include <boost/lexical_cast/bad_lexical_cast.hpp>

#include <cctype>
#include <iomanip>
#include <limits>
#include <locale>
#include <sstream>
#include <string>
#include <type_traits>
#include <typeinfo>

// Writes the value; precision -1 is the default stream format, any other value
// fixed-point notation with that many digits after the decimal point.
template <typename T>
std::string ValueToText(const T& value, int precision = -1)
{
    if constexpr (std::is_same_v<T, std::string>) {
        return value;
    } else {
        std::ostringstream stream;
        stream.imbue(std::locale::classic());
        if (precision != -1)
            stream << std::fixed << std::setprecision(precision);
        stream << value;
        return stream.str();
    }
}

namespace value_text_detail {

// "inf", "infinity" and "nan" with an optional sign, as lexical_cast reads them;
// the C++ streams do not, and the stream writes infinite values this way.
template <typename T>
bool ReadNonFinite(const std::string& text, T& result)
{
    std::string word;
    for (char c : text)
        word += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    bool negative = false;
    if (!word.empty() && (word[0] == '+' || word[0] == '-')) {
        negative = word[0] == '-';
        word.erase(0, 1);
    }
    if (word == "inf" || word == "infinity")
        result = std::numeric_limits<T>::infinity();
    else if (word == "nan")
        result = std::numeric_limits<T>::quiet_NaN();
    else
        return false;
    if (negative)
        result = -result;
    return true;
}

}  // namespace value_text_detail

// Reads the whole text as one T; throws boost::bad_lexical_cast when it is not one. A
// text setting takes only what the stored files can hold (IsStorableText), so that
// whatever it is given is saved and comes back.
template <typename T>
T ValueFromText(const std::string& text)
{
    if constexpr (std::is_same_v<T, std::string>) {
        if (!IsStorableText(text))
            throw boost::bad_lexical_cast(typeid(std::string), typeid(T));
        return text;
    } else if constexpr (std::is_same_v<T, char> || std::is_same_v<T, unsigned char> ||
                         std::is_same_v<T, signed char>) {
        if (text.size() != 1)
            throw boost::bad_lexical_cast(typeid(std::string), typeid(T));
        return static_cast<T>(text[0]);
    } else {
        T result{};
        if constexpr (std::is_floating_point_v<T>) {
            if (value_text_detail::ReadNonFinite(text, result))
                return result;
        }
        std::istringstream stream(text);
        stream.imbue(std::locale::classic());
        stream >> std::noskipws >> result;
        if (text.empty() || stream.fail() || stream.peek() != std::char_traits<char>::eof())
            throw boost::bad_lexical_cast(typeid(std::string), typeid(T));
        return result;
    }
}
