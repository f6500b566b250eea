#include "core/StorableText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Case {
    const char* what;
    std::string text;
    bool storable;
    bool name;
};

TEST(StorableTextTest, TextsAndNamesThatStoredFilesHold)
{
    const Case cases[] = {
        {"empty", "", true, true},
        {"plain", "Blur_0", true, true},
        {"two-byte", "caf\xc3\xa9", true, true},
        {"four-byte", "\xf0\x9f\x98\x80", true, true},
        {"highest", "\xf4\x8f\xbf\xbf", true, true},
        {"tab, line feed, return", "a\tb\nc\rd", true, false},
        {"delete", "a\x7f", true, false},
        {"C1 control", "a\xc2\x85", true, false},
        {"other control", "a\x01", false, false},
        {"NUL", std::string("a\0b", 3), false, false},
        {"lone continuation", "a\x80", false, false},
        {"cut sequence", "\xe2\x82", false, false},
        {"overlong", "\xc0\xaf", false, false},
        {"surrogate", "\xed\xa0\x80", false, false},
        {"beyond U+10FFFF", "\xf4\x90\x80\x80", false, false},
        {"U+FFFE", "\xef\xbf\xbe", false, false},
        {"U+FFFF", "\xef\xbf\xbf", false, false},
        {"invalid lead", "\xf8\x88\x80\x80\x80", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsStorableText(c.text), c.storable) << c.what;
        EXPECT_EQ(IsStorableName(c.text), c.name) << c.what;
    }
}

}  // namespace
