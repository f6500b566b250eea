#include "core/Utilities.h"

#include <sstream>

namespace {

// ASCII-only tests and conversions: the C library's versions depend on the locale and are
// undefined for negative char values, which UTF-8 text produces.
bool IsAsciiUpper(char c)
{
    return c >= 'A' && c <= 'Z';
}

bool IsAsciiLower(char c)
{
    return c >= 'a' && c <= 'z';
}

char AsciiToLower(char c)
{
    return IsAsciiUpper(c) ? static_cast<char>(c - 'A' + 'a') : c;
}

char AsciiToUpper(char c)
{
    return IsAsciiLower(c) ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> pieces;
    std::istringstream stream(text);
    std::string piece;
    while (std::getline(stream, piece, separator))
        pieces.push_back(piece);
    return pieces;
}

std::vector<std::string> Tokenize(const std::string& text)
{
    std::vector<std::string> words;
    std::string word;
    bool quoted = false;
    for (const char c : text) {
        if (c == '"') {
            quoted = !quoted;
        } else if (c == ' ' && !quoted) {
            words.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    }
    words.push_back(word);
    return words;
}

std::vector<std::string> ParseItemList(const std::string& text)
{
    std::vector<std::string> items;
    std::string item;
    bool inside = false;
    for (const char c : text) {
        if (c == '[') {
            item.clear();
            inside = true;
        } else if (c == ']') {
            inside = false;
            items.push_back(item);
        } else if (inside) {
            item += c;
        }
    }
    return items;
}

std::string RemoveCharacter(const std::string& text, char character)
{
    std::string result;
    result.reserve(text.size());
    for (const char c : text)
        if (c != character)
            result += c;
    return result;
}

std::string TextBefore(const std::string& text, char character)
{
    return text.substr(0, text.find(character));
}

std::string ToLower(const std::string& text)
{
    std::string result = text;
    for (char& c : result)
        c = AsciiToLower(c);
    return result;
}

std::string CapitaliseWords(const std::string& text)
{
    std::string result = text;
    for (std::size_t i = 0; i < result.size(); ++i)
        if (i == 0 || result[i - 1] == ' ')
            result[i] = AsciiToUpper(result[i]);
    return result;
}

std::string SplitCamelCase(const std::string& text)
{
    std::string result;
    result.reserve(text.size() * 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i > 0 && IsAsciiUpper(text[i]) && !IsAsciiUpper(text[i - 1]))
            result += ' ';
        result += text[i];
    }
    return result;
}

std::string MakeLabelFromName(const std::string& name)
{
    std::string label;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] != '_')
            label += name[i];
        else if (i > 0)
            label += ' ';
    }
    return CapitaliseWords(SplitCamelCase(label));
}

void PadRight(std::string& text, std::size_t width)
{
    if (text.size() < width)
        text.append(width - text.size(), ' ');
}

std::string GetValue(const std::string& descriptor, const std::string& key)
{
    const std::string cleaned = RemoveCharacter(ToLower(descriptor), ' ');
    for (const std::string& piece : Split(cleaned, ',')) {
        const std::vector<std::string> parts = Split(piece, '=');
        if (parts.size() >= 2 && parts[0] == key)
            return parts[1];
    }
    return std::string();
}

std::string SubString(const std::string& text, std::size_t position, std::size_t count)
{
    if (position >= text.size())
        return std::string();
    return text.substr(position, count);
}
