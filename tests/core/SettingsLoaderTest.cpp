#include "core/SettingsLoader.h"

#include "core/ControlBaseClass.h"
#include "core/CustomException.h"
#include "core/ThreadSafeVariable.h"

#include <gtest/gtest.h>

#include <boost/any.hpp>
#include <pugixml.hpp>

#include <string>
#include <vector>

namespace {

class Sample : public ControlBaseClass {
public:
    Sample() : ControlBaseClass("Sample")
    {
        settings.AddSetting("_count", &count, "min=0, max=10");
        settings.AddSetting("_rate", &rate, "");
        settings.AddSetting("_caption", &caption, "type=edit");
    }

    ThreadSafeVariable<int> count{5};
    ThreadSafeVariable<double> rate{30.0};
    ThreadSafeVariable<std::string> caption{std::string("plain")};
};

// A record whose settings hold another record's loader, to exercise the nested form.
class Outer : public ControlBaseClass {
public:
    Outer() : ControlBaseClass("Outer")
    {
        settings.AddSetting("_level", &level, "");
        settings.AddSetting("_inner", &inner.settings.loader, "");
    }

    Sample inner;
    ThreadSafeVariable<int> level{1};
};

TEST(SettingsLoaderTest, ExactLayout)
{
    Sample sample;
    EXPECT_EQ(sample.settings.loader.ToString(), "<?xml version=\"1.0\"?>\n"
                                                 "<Loader>\n"
                                                 "\t<Setting name=\"_setting_name\" value=\"Sample\" />\n"
                                                 "\t<Setting name=\"_setting_name\" value=\"Sample\" />\n"
                                                 "\t<Setting name=\"_count\" value=\"5\" />\n"
                                                 "\t<Setting name=\"_rate\" value=\"30\" />\n"
                                                 "\t<Setting name=\"_caption\" value=\"plain\" />\n"
                                                 "</Loader>\n");
}

TEST(SettingsLoaderTest, NameOnlyObjectHasTwoSettings)
{
    ControlBaseClass bare("Bare");
    const auto document = bare.settings.loader.ToXmlDocument();
    const pugi::xml_node root = document->child("Loader");
    std::vector<std::string> values;
    for (pugi::xml_node child : root.children()) {
        EXPECT_STREQ(child.name(), "Setting");
        EXPECT_STREQ(child.attribute("name").as_string(), "_setting_name");
        values.push_back(child.attribute("value").as_string());
    }
    EXPECT_EQ(values, (std::vector<std::string>{"Bare", "Bare"}));
}

TEST(SettingsLoaderTest, WritingThenReadingChangesNothing)
{
    Sample sample;
    sample.caption.Set("say \"hi\" <b> & 'bye'\ttab");
    sample.rate.Set(0.3);
    const std::string text = sample.settings.loader.ToString();
    const auto before = sample.settings.GetNameValuePairs();
    EXPECT_TRUE(sample.settings.loader.FromString(text));
    EXPECT_EQ(sample.settings.GetNameValuePairs(), before);

    Sample other;
    EXPECT_TRUE(other.settings.loader.FromString(text));
    EXPECT_EQ(other.caption.Get(), "say \"hi\" <b> & 'bye'\ttab");
    EXPECT_EQ(other.rate.Get(), 0.3);
}

TEST(SettingsLoaderTest, AppliesExactlyTheNamedSettingsInDocumentOrder)
{
    Sample sample;
    EXPECT_TRUE(sample.settings.loader.FromString("<Loader>"
                                                  "  <!-- hand made -->"
                                                  "  <Setting name=\"_rate\" value=\"12\"/>"
                                                  "  <Other name=\"_count\" value=\"1\"/>"
                                                  "  <Setting name=\"_Count\" value=\"2\"/>"
                                                  "  <Setting name=\"_caption\" value=\"first\"/>"
                                                  "  <Setting name=\"_count\" value=\"not a number\"/>"
                                                  "  <Setting name=\"_caption\"/>"
                                                  "  <Setting name=\"_caption\" value=\"last\"/>"
                                                  "</Loader>"));
    EXPECT_EQ(sample.rate.Get(), 12.0);
    EXPECT_EQ(sample.count.Get(), 5);
    EXPECT_EQ(sample.caption.Get(), "last");
}

TEST(SettingsLoaderTest, TextsThatAreNotACompleteLoaderChangeNothing)
{
    Sample source;
    source.count.Set(9);
    source.caption.Set("changed");
    const std::string complete = source.settings.loader.ToString();
    const std::string cut = complete.substr(0, complete.find("_caption"));

    const std::vector<std::string> texts = {
        "",
        "not xml at all",
        "<Settings><Setting name=\"_count\" value=\"9\"/></Settings>",
        cut,
        complete.substr(0, complete.size() - 3),
    };
    for (const std::string& text : texts) {
        Sample sample;
        EXPECT_FALSE(sample.settings.loader.FromString(text)) << text;
        EXPECT_EQ(sample.count.Get(), 5) << text;
        EXPECT_EQ(sample.caption.Get(), "plain") << text;
    }
}

TEST(SettingsLoaderTest, NestedLoadersAreWrittenAndRead)
{
    Outer outer;
    outer.inner.count.Set(7);
    const auto document = outer.settings.loader.ToXmlDocument();
    const pugi::xml_node nested =
        document->child("Loader").find_child_by_attribute("Loader", "name", "_inner");
    ASSERT_TRUE(nested);
    EXPECT_STREQ(nested.find_child_by_attribute("Setting", "name", "_count").attribute("value").as_string(),
                 "7");

    Outer target;
    EXPECT_TRUE(target.settings.loader.FromString(outer.settings.loader.ToString()));
    EXPECT_EQ(target.inner.count.Get(), 7);
}

TEST(SettingsLoaderTest, NestedLoaderWithoutALoaderSettingThrowsKeepingEarlierSettings)
{
    Outer outer;
    EXPECT_THROW(outer.settings.loader.FromString("<Loader><Setting name=\"_level\" value=\"4\"/>"
                                                  "<Loader name=\"_nowhere\"/>"
                                                  "<Setting name=\"_level\" value=\"6\"/></Loader>"),
                 CustomException);
    EXPECT_EQ(outer.level.Get(), 4);
    EXPECT_THROW(outer.settings.loader.FromString("<Loader><Loader name=\"_level\"/></Loader>"),
                 boost::bad_any_cast);
}

}  // namespace
