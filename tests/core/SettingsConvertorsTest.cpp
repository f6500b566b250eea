#include "core/SettingsConvertor.h"
#include "core/SettingsConvertorThreadSafe.h"
#include "core/SettingsConvertors.h"

#include "core/CustomException.h"
#include "core/MainDisplayControls.h"
#include "core/ParameterContainer.h"
#include "core/ParameterItem.h"
#include "core/ThreadSafeVariable.h"
#include "ScopedCommaLocale.h"

#include <QPoint>
#include <boost/shared_ptr.hpp>
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <typeinfo>
#include <vector>

namespace {

// Reads the text into the variable through the registry row that serves it, then
// writes it back as text.
template <typename Variable>
std::string RoundTrip(Variable& variable, const std::string& text, int precision = -1)
{
    ParameterItem item("_v", boost::any(&variable), "");
    for (const auto& convertor : GetSettingsConvertors()) {
        if (convertor->CanConvert(item)) {
            convertor->FromString(item, text);
            return convertor->ToString(item, precision);
        }
    }
    ADD_FAILURE() << "no convertor for " << item.GetTypeName();
    return "";
}

template <typename T>
std::string Text(const T& value, int precision = -1)
{
    T variable = value;
    ParameterItem item("_v", boost::any(&variable), "");
    return SettingsConvertor<T>().ToString(item, precision);
}

template <typename T>
T Read(const std::string& text)
{
    T variable{};
    ParameterItem item("_v", boost::any(&variable), "");
    SettingsConvertor<T>().FromString(item, text);
    return variable;
}

TEST(SettingsConvertorsTest, DoubleTexts)
{
    EXPECT_EQ(Text(30.0), "30");
    EXPECT_EQ(Text(0.3), "0.3");
    EXPECT_EQ(Text(0.0000001), "1e-07");
    EXPECT_EQ(Text(1234567.0), "1.23457e+06");
    EXPECT_EQ(Read<double>("1.23457e+06"), 1234570.0);
    EXPECT_EQ(Text(3.14159, 2), "3.14");
    EXPECT_EQ(Text(2.0, 3), "2.000");
    EXPECT_EQ(Text(42, 2), "42");
    EXPECT_EQ(Text(0.5f), "0.5");
    EXPECT_EQ(Read<double>("-2.5e-3"), -0.0025);
    EXPECT_EQ(Read<double>(Text(std::numeric_limits<double>::infinity())),
              std::numeric_limits<double>::infinity());
}

TEST(SettingsConvertorsTest, BoolIsADigit)
{
    EXPECT_EQ(Text(true), "1");
    EXPECT_EQ(Text(false), "0");
    for (const char* text : {"1", "+1"})
        EXPECT_TRUE(Read<bool>(text)) << text;
    for (const char* text : {"0", "+0", "-0"})
        EXPECT_FALSE(Read<bool>(text)) << text;
    for (const char* text : {"true", "yes", "", "2", "-1", " 1", "1 "})
        EXPECT_THROW(Read<bool>(text), boost::bad_lexical_cast) << text;
}

TEST(SettingsConvertorsTest, CharactersAreOneByte)
{
    EXPECT_EQ(Text('x'), "x");
    EXPECT_EQ(Text(static_cast<unsigned char>('7')), "7");
    EXPECT_EQ(Read<char>("q"), 'q');
    EXPECT_EQ(Read<unsigned char>("A"), 'A');
    for (const char* text : {"", "ab"}) {
        EXPECT_THROW(Read<char>(text), boost::bad_lexical_cast) << text;
        EXPECT_THROW(Read<unsigned char>(text), boost::bad_lexical_cast) << text;
    }
}

TEST(SettingsConvertorsTest, IntegersMustBeTheWholeText)
{
    EXPECT_EQ(Read<int>("-17"), -17);
    EXPECT_EQ(Read<long long>("9000000000"), 9000000000LL);
    EXPECT_EQ(Read<unsigned short>("65535"), 65535);
    EXPECT_EQ(Text(-17L), "-17");
    EXPECT_EQ(Text(18446744073709551615ULL), "18446744073709551615");
    for (const char* text : {"", " 5", "5 ", "5x", "0x10", "1.5", "abc"})
        EXPECT_THROW(Read<int>(text), boost::bad_lexical_cast) << text;
    EXPECT_THROW(Read<short>("40000"), boost::bad_lexical_cast);
    EXPECT_THROW(Read<int>("99999999999"), boost::bad_lexical_cast);
}

TEST(SettingsConvertorsTest, StringsAreUnchanged)
{
    EXPECT_EQ(Text(std::string(" a=b # c ")), " a=b # c ");
    EXPECT_EQ(Read<std::string>(""), "");
    EXPECT_EQ(Read<std::string>(" spaced "), " spaced ");
}

// A text that no stored file can hold would be lost at the next save, so no text setting
// takes it, by whatever text path it arrives; both families keep their value.
TEST(SettingsConvertorsTest, TextsThatStoredFilesCannotHoldAreRefused)
{
    for (const std::string& text :
         {std::string("bad\x01name"), std::string("nul\0byte", 8), std::string("\xff\xfe"),
          std::string("\xc0\xafoverlong"), std::string("\xed\xa0\x80surrogate"),
          std::string("\xef\xbf\xbenon-character"), std::string("cut\xe2\x82")}) {
        std::string plain = "kept";
        ThreadSafeVariable<std::string> safe{"kept"};
        EXPECT_THROW(RoundTrip(plain, text), boost::bad_lexical_cast) << text;
        EXPECT_THROW(RoundTrip(safe, text), boost::bad_lexical_cast) << text;
        EXPECT_EQ(plain, "kept");
        EXPECT_EQ(safe.Get(), "kept");
    }
    for (const char* text : {"tab\tline\nreturn\r", "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80", "del\x7f"})
        EXPECT_EQ(Read<std::string>(text), text);
}

TEST(SettingsConvertorsTest, ConversionsIgnoreTheProcessLocale)
{
    ThreadSafeVariable<double> rate{0.0};
    ThreadSafeVariable<int> count{0};
    long long plain = 0;
    std::string rate_text;
    std::string count_text;
    std::string plain_text;
    std::string fixed_text;
    {
        const ScopedCommaLocale comma_locale;
        rate_text = RoundTrip(rate, "2.5");
        count_text = RoundTrip(count, "1234567");
        plain_text = RoundTrip(plain, "9876543");
        fixed_text = RoundTrip(rate, "1234.5", 1);
    }
    EXPECT_EQ(rate_text, "2.5");
    EXPECT_EQ(count_text, "1234567");
    EXPECT_EQ(plain_text, "9876543");
    EXPECT_EQ(fixed_text, "1234.5");
}

TEST(SettingsConvertorsTest, ThreadSafeAndPlainFamiliesServeOnlyTheirOwnType)
{
    ThreadSafeVariable<int> safe{3};
    int plain = 4;
    ParameterItem safe_item("_safe", boost::any(&safe), "");
    ParameterItem plain_item("_plain", boost::any(&plain), "");
    ParameterItem empty_item("_empty", boost::any(), "");
    const SettingsConvertor<int> plain_convertor;
    const SettingsConvertorThreadSafe<int> safe_convertor;

    EXPECT_TRUE(plain_convertor.CanConvert(plain_item));
    EXPECT_FALSE(plain_convertor.CanConvert(safe_item));
    EXPECT_FALSE(plain_convertor.CanConvert(empty_item));
    EXPECT_TRUE(safe_convertor.CanConvert(safe_item));
    EXPECT_FALSE(safe_convertor.CanConvert(plain_item));

    EXPECT_FALSE(plain_convertor.FromString(safe_item, "9"));
    EXPECT_FALSE(safe_convertor.FromString(plain_item, "9"));
    EXPECT_EQ(safe.Get(), 3);
    EXPECT_EQ(plain, 4);

    try {
        plain_convertor.ToString(safe_item, -1);
        ADD_FAILURE() << "no exception";
    } catch (const CustomException& e) {
        EXPECT_STREQ(e.what(), "Could not convert item to string");
    }
    try {
        safe_convertor.ToString(plain_item, -1);
        ADD_FAILURE() << "no exception";
    } catch (const CustomException& e) {
        EXPECT_STREQ(e.what(), "Could not covert thread safe variable to string");
    }
}

TEST(SettingsConvertorsTest, AFailedReadKeepsTheValue)
{
    ThreadSafeVariable<bool> flag{true};
    int plain = 8;
    ParameterItem flag_item("_flag", boost::any(&flag), "");
    ParameterItem plain_item("_plain", boost::any(&plain), "");
    EXPECT_THROW(SettingsConvertorThreadSafe<bool>().FromString(flag_item, "true"), boost::bad_lexical_cast);
    EXPECT_THROW(SettingsConvertor<int>().FromString(plain_item, "eight"), boost::bad_lexical_cast);
    EXPECT_TRUE(flag.Get());
    EXPECT_EQ(plain, 8);
}

// Items holding a null pointer of each plain row's type, in registration order; a null
// pointer is enough, since convertors compare only the held type.
template <typename T>
void AddBoth(std::vector<ParameterItem>& probes)
{
    probes.emplace_back("_plain", boost::any(static_cast<T*>(nullptr)), "");
    probes.emplace_back("_safe", boost::any(static_cast<ThreadSafeVariable<T>*>(nullptr)), "");
}

// One probe per plain row, in registration order.
std::vector<ParameterItem> PlainRowProbes()
{
    std::vector<ParameterItem> probes;
    AddBoth<float>(probes);
    AddBoth<double>(probes);
    AddBoth<int>(probes);
    AddBoth<long>(probes);
    AddBoth<unsigned long long>(probes);
    AddBoth<unsigned int>(probes);
    AddBoth<unsigned long>(probes);
    AddBoth<long long>(probes);
    AddBoth<short>(probes);
    AddBoth<unsigned short>(probes);
    AddBoth<char>(probes);
    AddBoth<unsigned char>(probes);
    AddBoth<bool>(probes);
    AddBoth<std::string>(probes);
    return probes;
}

TEST(SettingsConvertorsTest, PlainRowsComeFirstInTheirOrder)
{
    const std::vector<ParameterItem> probes = PlainRowProbes();
    ASSERT_EQ(probes.size(), 28u);

    const SettingsConvertorList& registry = GetSettingsConvertors();
    ASSERT_GE(registry.size(), 28u);
    for (std::size_t row = 0; row < registry.size(); ++row) {
        for (std::size_t probe = 0; probe < probes.size(); ++probe) {
            EXPECT_EQ(registry[row]->CanConvert(probes[probe]), row == probe)
                << "row " << row + 1 << ", " << probes[probe].GetTypeName();
        }
    }
}

// A setting registered with a null pointer is refused with an error, in either direction,
// instead of being dereferenced.
TEST(SettingsConvertorsTest, NullVariablePointerIsRefusedWithAnError)
{
    std::vector<ParameterItem> probes = PlainRowProbes();
    probes.emplace_back("_point", boost::any(static_cast<QPoint*>(nullptr)), "");
    probes.emplace_back("_controls",
                        boost::any(static_cast<boost::shared_ptr<MainDisplayControls>*>(nullptr)), "");
    for (ParameterItem& probe : probes) {
        const std::string type = probe.GetTypeName();
        const boost::shared_ptr<SettingsConvertorInterface> convertor =
            ParameterContainer::GetConvertor(probe);
        EXPECT_THROW(convertor->ToString(probe, -1), CustomException) << type;
        EXPECT_THROW(convertor->FromString(probe, "1"), CustomException) << type;
    }
}

TEST(SettingsConvertorsTest, EveryRowHoldsADifferentType)
{
    const SettingsConvertorList& registry = GetSettingsConvertors();
    for (std::size_t a = 0; a < registry.size(); ++a) {
        for (std::size_t b = a + 1; b < registry.size(); ++b)
            EXPECT_NE(typeid(*registry[a]), typeid(*registry[b])) << a + 1 << " " << b + 1;
    }
}

}  // namespace
