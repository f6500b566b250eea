#include <gtest/gtest.h>

#include "core/QtUtilities.h"
#include "core/Utilities.h"

namespace {

using Words = std::vector<std::string>;

struct SplitCase {
    std::string text;
    char separator;
    Words pieces;
};

TEST(StringUtilities, SplitKeepsInnerEmptyPiecesButNoTrailingOne)
{
    const SplitCase cases[] = {
        {"a,,b", ',', {"a", "", "b"}}, {"a,b,", ',', {"a", "b"}},    {"", ',', {}},
        {",a", ',', {"", "a"}},        {"min=0", '=', {"min", "0"}}, {"abc", ',', {"abc"}},
    };
    for (const SplitCase& c : cases)
        EXPECT_EQ(Split(c.text, c.separator), c.pieces) << "text: " << c.text;
}

TEST(StringUtilities, TokenizeHonoursQuotesAndKeepsEmptyWords)
{
    const std::pair<std::string, Words> cases[] = {
        {"set x \"two words\"", {"set", "x", "two words"}},
        {"make Camera", {"make", "Camera"}},
        {"a  b", {"a", "", "b"}},
        {"a ", {"a", ""}},
        {"", {""}},
        {"say \"open  end", {"say", "open  end"}},
        {"x\"y\"z", {"xyz"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Tokenize(c.first), c.second) << "text: " << c.first;
}

TEST(StringUtilities, ParseItemListRestartsOnOpeningBracket)
{
    const std::pair<std::string, Words> cases[] = {
        {"[BGR][RGB][[HSV][Grey]", {"BGR", "RGB", "HSV", "Grey"}},
        {"junk[A]between[B]after", {"A", "B"}},
        {"[A]]", {"A", "A"}},
        {"[A][unclosed", {"A"}},
        {"", {}},
        {"[]", {""}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseItemList(c.first), c.second) << "text: " << c.first;
}

TEST(StringUtilities, GetValueReadsLowerCasedValuesOfExactKeys)
{
    struct Case {
        std::string descriptor, key, value;
    };
    const Case cases[] = {
        {"min=0, max=255", "max", "255"},
        {"min=0, max=255", "MAX", ""},
        {"min=0, max=255", "min", "0"},
        {"items=[BGR][RGB]", "items", "[bgr][rgb]"},
        {"type=File_Path", "type", "file_path"},
        {"Type = Hidden", "type", "hidden"},
        {"a=1=2", "a", "1"},
        {"novalue, min", "min", ""},
        {"", "min", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetValue(c.descriptor, c.key), c.value) << c.descriptor << " / " << c.key;
}

TEST(StringUtilities, LabelsFromSettingNames)
{
    EXPECT_EQ(MakeLabelFromName("_ResetToSelected"), "Reset To Selected");
    EXPECT_EQ(MakeLabelFromName("_global_frame_rate"), "Global Frame Rate");
    EXPECT_EQ(SplitCamelCase("ROIWidth"), "ROIWidth");
    EXPECT_EQ(SplitCamelCase("showROIWidth"), "show ROIWidth");
    EXPECT_EQ(CapitaliseWords("one two  three"), "One Two  Three");
}

// UTF-8 text holds bytes of 0x80 and above; they must pass through unchanged.
TEST(StringUtilities, CaseFunctionsChangeOnlyAsciiLetters)
{
    const std::string text = "\xC3\x84pfel \xC3\xBC"
                             "ber \xE2\x82\xAC"
                             "Euro";
    EXPECT_EQ(ToLower("MiXeD 42_Z"), "mixed 42_z");
    EXPECT_EQ(ToLower(text), "\xC3\x84pfel \xC3\xBC"
                             "ber \xE2\x82\xAC"
                             "euro");
    EXPECT_EQ(CapitaliseWords(text), "\xC3\x84pfel \xC3\xBC"
                                     "ber \xE2\x82\xAC"
                                     "Euro");
    EXPECT_EQ(SplitCamelCase(text), "\xC3\x84pfel \xC3\xBC"
                                    "ber \xE2\x82\xAC"
                                    " Euro");
    std::string all_bytes;
    for (int b = 0x80; b <= 0xFF; ++b)
        all_bytes += static_cast<char>(b);
    EXPECT_EQ(ToLower(all_bytes), all_bytes);
    EXPECT_EQ(CapitaliseWords(all_bytes), all_bytes);
    EXPECT_EQ(SplitCamelCase(all_bytes), all_bytes);
}

TEST(StringUtilities, SmallTextHelpers)
{
    EXPECT_EQ(RemoveCharacter("a b  c ", ' '), "abc");
    EXPECT_EQ(TextBefore("name=value # note", '#'), "name=value ");
    EXPECT_EQ(TextBefore("no comment", '#'), "no comment");

    std::string padded = "abc";
    PadRight(padded, 6);
    EXPECT_EQ(padded, "abc   ");
    std::string longer = "already long";
    PadRight(longer, 4);
    EXPECT_EQ(longer, "already long");
}

TEST(StringUtilities, SubStringPastTheEndIsEmpty)
{
    EXPECT_EQ(SubString("abcdef", 2, 3), "cde");
    EXPECT_EQ(SubString("abcdef", 4, 100), "ef");
    EXPECT_EQ(SubString("abcdef", 6, 1), "");
    EXPECT_EQ(SubString("abcdef", 100, 1), "");
    EXPECT_EQ(SubString("", 0, 1), "");
}

TEST(StringUtilities, ToQStringReadsUtf8)
{
    const QString text = ToQString("gr\xC3\xBCn");
    EXPECT_EQ(text.size(), 4);
    EXPECT_EQ(text.at(2), QChar(0x00FC));
}

}  // namespace
