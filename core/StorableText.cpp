#include "core/StorableText.h"

namespace {

struct Lead {
    std::size_t length;  // bytes of the whole sequence; 0 for a byte no sequence starts with
    char32_t bits;       // the character's bits that the lead byte carries
    char32_t lowest;     // the lowest character of that length; below it the form is overlong
};

Lead ReadLead(unsigned char byte)
{
    if (byte < 0x80)
        return {1, byte, 0};
    if ((byte & 0xE0) == 0xC0)
        return {2, static_cast<char32_t>(byte & 0x1F), 0x80};
    if ((byte & 0xF0) == 0xE0)
        return {3, static_cast<char32_t>(byte & 0x0F), 0x800};
    if ((byte & 0xF8) == 0xF0)
        return {4, static_cast<char32_t>(byte & 0x07), 0x10000};
    return {0, 0, 0};
}

// Decodes the character that starts at text[at] and moves at past it; false for a
// malformed, overlong or surrogate sequence.
bool NextCharacter(const std::string& text, std::size_t& at, char32_t& character)
{
    const Lead lead = ReadLead(static_cast<unsigned char>(text[at]));
    if (lead.length == 0 || text.size() - at < lead.length)
        return false;
    character = lead.bits;
    for (std::size_t i = 1; i < lead.length; ++i) {
        const unsigned char byte = static_cast<unsigned char>(text[at + i]);
        if ((byte & 0xC0) != 0x80)
            return false;
        character = (character << 6) | (byte & 0x3F);
    }
    at += lead.length;
    return character >= lead.lowest && character <= 0x10FFFF && (character < 0xD800 || character > 0xDFFF);
}

bool IsXmlCharacter(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c != 0xFFFE && c != 0xFFFF);
}

bool IsControlCharacter(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

template <typename Refused>
bool EveryCharacterPasses(const std::string& text, Refused refused)
{
    std::size_t at = 0;
    char32_t character = 0;
    while (at < text.size()) {
        if (!NextCharacter(text, at, character) || refused(character))
            return false;
    }
    return true;
}

}  // namespace

bool IsStorableText(const std::string& text)
{
    return EveryCharacterPasses(text, [](char32_t c) { return !IsXmlCharacter(c); });
}

bool IsStorableName(const std::string& text)
{
    return EveryCharacterPasses(text, [](char32_t c) { return !IsXmlCharacter(c) || IsControlCharacter(c); });
}
