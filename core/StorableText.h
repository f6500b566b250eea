// Which texts the system's stored files (pipeline files, settings files) can hold and give
// back unchanged: valid UTF-8 of characters that XML allows. Ids, which also appear in
// one-line listings and command replies, must further be free of control characters.
// Stateless.
#pragma once

#include <string>

// Valid UTF-8 (no overlong form, no surrogate) whose every character XML can hold: tab,
// line feed and carriage return are the only characters below U+0020, and U+FFFE and
// U+FFFF are refused.
bool IsStorableText(const std::string& text);

// A storable text without any control character (U+0000 to U+001F, U+007F to U+009F).
bool IsStorableName(const std::string& text);
