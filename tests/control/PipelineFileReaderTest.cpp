#include "control/PipelineFileReader.h"

#include "control/PipelineFiles.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Outcome = PipelineFileReader::Outcome;

std::string Repeated(int count, const std::string& text)
{
    std::string result;
    for (int i = 0; i < count; ++i)
        result += text;
    return result;
}

std::string Attributes(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += " a" + std::to_string(i) + "=\"\"";
    return text;
}

std::string Pipeline(const std::string& entries)
{
    return "<!DOCTYPE XML>\n<top>" + entries + "</top>\n";
}

TEST(PipelineFileReaderTest, ReadsEntriesTheirSettingsAndConnections)
{
    PipelineFileReader reader;
    const std::string text = Pipeline(
        "<Element id=\"b1\" type=\"Blur\">"
        "<Settings name=\"_width\" value=\"7\" extra=\"min=1\"/><Settings value=\"x\"/>"
        "<Connection source_element=\"b1\" source_name=\"output\" sink_element=\"t\" sink_name=\"input\"/>"
        "<Other name=\"ignored\"><Settings name=\"deeper\"/></Other>"
        "</Element><!-- <Element id=\"commented\"/> --><x type=\"Tee\"/>");
    ASSERT_EQ(reader.Read(QByteArray::fromStdString(text)), Outcome::kRead);
    ASSERT_EQ(reader.Entries().size(), 2u);
    const PipelineEntry& blur = reader.Entries()[0];
    EXPECT_EQ(blur.id, "b1");
    EXPECT_EQ(blur.type, "Blur");
    EXPECT_EQ(blur.settings, (std::vector<std::pair<std::string, std::string>>{{"_width", "7"}, {"", "x"}}));
    EXPECT_EQ(blur.connections, (std::vector<ConnectionRecord>{{"b1", "output", "t", "input"}}));
    EXPECT_EQ(reader.Entries()[1].id, "");
    EXPECT_EQ(reader.Entries()[1].type, "Tee");
}

// Each bound is met by a file at it and broken by one just past it, which is refused
// with the bound named and nothing kept.
TEST(PipelineFileReaderTest, FilesAtTheBoundsAreReadAndPastThemRefused)
{
    // Full entries, then one whose tags make up the rest ("top" is a tag too).
    const int full_entries = (kMaxPipelineTags - 1) / (kMaxPipelineEntryChildren + 1);
    const int rest = (kMaxPipelineTags - 1) % (kMaxPipelineEntryChildren + 1);
    const std::string full =
        Repeated(full_entries, "<e>" + Repeated(kMaxPipelineEntryChildren, "<s/>") + "</e>");
    struct Case {
        const char* what;
        std::string at_bound;
        std::string past_bound;
        std::string bound;
    };
    const Case cases[] = {
        {"attributes", Pipeline("<e" + Attributes(kMaxPipelineTagAttributes) + "/>"),
         Pipeline("<e" + Attributes(kMaxPipelineTagAttributes + 1) + "/>"),
         "a tag in it has more than 32 attributes"},
        {"attributes of the root", "<top" + Attributes(kMaxPipelineTagAttributes) + "/>",
         "<top" + Attributes(kMaxPipelineTagAttributes + 1) + "/>",
         "a tag in it has more than 32 attributes"},
        {"elements", Pipeline(Repeated(kMaxPipelineElements, "<e/>")),
         Pipeline(Repeated(kMaxPipelineElements + 1, "<e/>")), "it has more than 20000 elements"},
        {"children", Pipeline("<e>" + Repeated(kMaxPipelineEntryChildren, "<s/>") + "</e>"),
         Pipeline("<e>" + Repeated(kMaxPipelineEntryChildren + 1, "<s/>") + "</e>"),
         "an element in it has more than 256 children"},
        {"children deeper", Pipeline("<e><s>" + Repeated(kMaxPipelineEntryChildren, "<d/>") + "</s></e>"),
         Pipeline("<e><s>" + Repeated(kMaxPipelineEntryChildren + 1, "<d/>") + "</s></e>"),
         "an element in it has more than 256 children"},
        {"tags", Pipeline(full + "<e>" + Repeated(rest - 1, "<s/>") + "</e>"),
         Pipeline(full + "<e>" + Repeated(rest, "<s/>") + "</e>"), "it has more than 500000 tags"},
        {"depth", Pipeline(Repeated(kMaxPipelineDepth - 1, "<d>") + Repeated(kMaxPipelineDepth - 1, "</d>")),
         Pipeline(Repeated(kMaxPipelineDepth, "<d>") + Repeated(kMaxPipelineDepth, "</d>")),
         "it nests tags more than 64 deep"},
    };
    for (const Case& c : cases) {
        PipelineFileReader reader;
        EXPECT_EQ(reader.Read(QByteArray::fromStdString(c.at_bound)), Outcome::kRead) << c.what;
        EXPECT_EQ(reader.Read(QByteArray::fromStdString(c.past_bound)), Outcome::kBeyondBound) << c.what;
        EXPECT_EQ(reader.Bound(), c.bound) << c.what;
        EXPECT_TRUE(reader.Entries().empty()) << c.what;
    }
}

// Only the markup counts: "=", "<" and ">" inside values, comments, sections and
// instructions, and attributes spread over lines, do not.
TEST(PipelineFileReaderTest, MarkupInsideTextIsNotCounted)
{
    const std::string many = Repeated(kMaxPipelineTagAttributes + 1, "<e a=\"1\" b='2'/>");
    const std::string text =
        Pipeline("<e id=\"" + Repeated(100, "=") + "\" type='>" + Repeated(100, "=\"x\" ") + "'\n" +
                 Attributes(30) + "/><!--" + many + "--><![CDATA[" + many + "]]><?pi " + many + "?>");
    PipelineFileReader reader;
    ASSERT_EQ(reader.Read(QByteArray::fromStdString(text)), Outcome::kRead) << reader.Bound();
    ASSERT_EQ(reader.Entries().size(), 1u);
    EXPECT_EQ(reader.Entries()[0].id, Repeated(100, "="));
}

TEST(PipelineFileReaderTest, TextsThatAreNoPipelineFileAreRefused)
{
    const std::string cases[] = {
        "",
        "<top>",
        "<Loader><Element/></Loader>",
        "<!DOCTYPE top [<!ENTITY a \"aaaa\">]><top><Element id=\"&a;\"/></top>",
        "<!DOCTYPE top [<!ELEMENT top ANY>]><top/>",
        "<top><Element id=\"&x;\"/></top>",
        "<top><Element id=\"&#1;\"/></top>",
        "<top><Element id=\"a\" id=\"b\"/></top>",
        std::string("<top>\0</top>", 12),
        "<top><e a=\"1/></top>",
    };
    for (const std::string& text : cases) {
        PipelineFileReader reader;
        EXPECT_EQ(reader.Read(QByteArray::fromStdString(text)), Outcome::kMalformed) << text;
        EXPECT_TRUE(reader.Entries().empty()) << text;
    }
}

}  // namespace
