#include "support/LogCapture.h"
#include "StoreFixture.h"

#include "control/PipelineFiles.h"
#include "core/NodeControls.h"
#include "core/ThreadSafeVariable.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace {

const char* const kFailed = "Error, command failed";

bool Exists(const std::string& path)
{
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class LoaderSaverTest : public ::testing::Test, public StoreFixture {
protected:
    // Image source -> tee -> blur and video in video; blur into the inset; inset -> threshold.
    void BuildPipeline()
    {
        ASSERT_EQ(Command("make \"Image Read\" src"), "src");
        ASSERT_EQ(Command("make Tee tee"), "tee");
        ASSERT_EQ(Command("make Blur b1"), "b1");
        ASSERT_EQ(Command("make \"Video In Video\" viv"), "viv");
        ASSERT_EQ(Command("make Threshold th"), "th");
        for (const char* link :
             {"connect src tee", "connect tee b1", "connect tee viv", "connect b1 viv", "connect viv th"})
            ASSERT_EQ(Command(link).rfind("Connected Source : ", 0), 0u) << link;
        ASSERT_EQ(Command("set b1 _width 7"), "Success");
        ASSERT_EQ(Command("set th _threshold 42"), "Success");
        ASSERT_EQ(Command("set viv _transparency 0.25"), "Success");
        ASSERT_EQ(Command("set b1 _position_x 120"), "Success");
        MoveInsetBox("[12, 34, 56, 78]");
    }

    // The box travels inside the record's text form, which "set" cannot quote.
    void MoveInsetBox(const std::string& box)
    {
        ParameterContainer& settings = commander->GetElement("viv")->settings;
        std::string text = settings.GetValueAsString("_sub_image_controls");
        const std::string old_box = "[100, 100, 100, 100]";
        const std::size_t at = text.find(old_box);
        ASSERT_NE(at, std::string::npos) << text;
        text.replace(at, old_box.size(), box);
        settings.SetValue("_sub_image_controls", text, "");
        ASSERT_NE(settings.GetValueAsString("_sub_image_controls").find(box), std::string::npos);
    }
};

TEST_F(LoaderSaverTest, RoundTripRebuildsElementsSettingsAndConnections)
{
    BuildPipeline();
    const PipelineState before = Snapshot();
    ASSERT_EQ(before.elements.size(), 5u);
    ASSERT_EQ(before.connections.size(), 5u);

    EXPECT_EQ(Command("save \"round trip\""), "Success");
    EXPECT_EQ(Command("clear"), "Success");
    EXPECT_TRUE(Snapshot().elements.empty());

    int clears = 0;
    hub->GetSharedControl<NodeControls>("")->clear_editor_signal.connect([&] { ++clears; });
    EXPECT_EQ(Command("load \"round trip\""), "Success");
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(clears, 1);
    EXPECT_EQ(editor.updates, 1);

    // Loading over a pipeline replaces it.
    EXPECT_EQ(Command("make Erosion extra"), "extra");
    EXPECT_EQ(Command("load \"round trip\""), "Success");
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(LoaderSaverTest, FileHoldsThePipelineAsTheFormatSays)
{
    BuildPipeline();
    ASSERT_EQ(Command("save layout"), "Success");
    const std::string text = ReadAll(Folder() + "layout.xml");
    EXPECT_EQ(text.rfind("<!DOCTYPE XML>\n", 0), 0u);

    pugi::xml_document document;
    ASSERT_TRUE(document.load_string(text.c_str()));
    const pugi::xml_node top = document.child("top");
    ASSERT_TRUE(top);
    std::vector<std::string> ids;
    std::map<std::string, int> listings;  // how often each link is listed
    std::set<std::string> box_values;
    for (pugi::xml_node element : top.children("Element")) {
        const std::string id = element.attribute("id").as_string();
        ids.push_back(id);
        for (pugi::xml_node link : element.children("Connection")) {
            const std::string source = link.attribute("source_element").as_string();
            const std::string sink = link.attribute("sink_element").as_string();
            EXPECT_TRUE(source == id || sink == id);
            ++listings[source + "." + link.attribute("source_name").as_string() + ">" + sink + "." +
                       link.attribute("sink_name").as_string()];
        }
        for (pugi::xml_node setting : element.children("Settings")) {
            EXPECT_TRUE(setting.attribute("extra")) << setting.attribute("name").as_string();
            if (std::string(setting.attribute("name").as_string()) == "_sub_image_controls")
                box_values.insert(setting.attribute("value").as_string());
        }
    }
    EXPECT_EQ(ids, (std::vector<std::string>{"src", "tee", "b1", "viv", "th"}));
    EXPECT_EQ(listings.size(), 5u);
    for (const auto& listing : listings)
        EXPECT_EQ(listing.second, 2) << listing.first;
    ASSERT_EQ(box_values.size(), 1u);
    // The record's text form, itself XML, survives as one attribute value.
    pugi::xml_document record;
    ASSERT_TRUE(record.load_string(box_values.begin()->c_str()));
    bool found_box = false;
    for (pugi::xml_node setting : record.child("Loader").children("Setting"))
        if (std::string(setting.attribute("name").as_string()) == "_box")
            found_box = std::string(setting.attribute("value").as_string()) == "[12, 34, 56, 78]";
    EXPECT_TRUE(found_box);
}

// Each element lists its connections as the table gives them for it, in that order, so
// a file keeps its content and order however the save gathers them.
TEST_F(LoaderSaverTest, EachElementListsItsConnectionsInTheTablesOrder)
{
    BuildPipeline();
    ASSERT_EQ(Command("make Blur last"), "last");
    ASSERT_EQ(Command("connect th last").rfind("Connected Source : ", 0), 0u);
    ASSERT_EQ(Command("save order"), "Success");
    pugi::xml_document document;
    ASSERT_TRUE(document.load_file((Folder() + "order.xml").c_str()));
    std::vector<std::string> ids;
    for (pugi::xml_node element : document.child("top").children("Element")) {
        const std::string id = element.attribute("id").as_string();
        ids.push_back(id);
        std::vector<ConnectionRecord> listed;
        for (pugi::xml_node link : element.children("Connection"))
            listed.push_back(
                {link.attribute("source_element").as_string(), link.attribute("source_name").as_string(),
                 link.attribute("sink_element").as_string(), link.attribute("sink_name").as_string()});
        EXPECT_EQ(listed, commander->GetElementTable()->GetConnections(id)) << id;
    }
    EXPECT_EQ(ids, commander->GetElementIds());
}

// Gathering each element's connections by walking every connection made saves quadratic:
// minutes for a large pipeline, and the window saves on closing.
TEST_F(LoaderSaverTest, SaveWorkGrowsInProportionToThePipeline)
{
    auto grow_chain_to = [&](int count) {
        for (int i = static_cast<int>(commander->GetElementIds().size()); i < count; ++i) {
            const std::string id = "b" + std::to_string(i);
            ASSERT_EQ(Command("make Blur " + id), id);
            const std::string link = "connect b" + std::to_string(i - 1) + " " + id;
            if (i > 0) {
                ASSERT_EQ(Command(link).rfind("Connected Source : ", 0), 0u) << link;
            }
        }
    };
    const ElementTable& table = *commander->GetElementTable();
    auto outputs_visited_by_a_save = [&] {
        const unsigned long long before = table.OutputsVisited();
        EXPECT_TRUE(store->TrySave("chain"));
        return table.OutputsVisited() - before;
    };
    grow_chain_to(200);
    const unsigned long long small = outputs_visited_by_a_save();
    grow_chain_to(1600);
    const unsigned long long large = outputs_visited_by_a_save();
    EXPECT_GE(small, 200u);
    // Eight times the elements; the quadratic save visited 64 times as many outputs.
    EXPECT_LE(large, 8 * small) << large << " outputs visited against " << small;
}

TEST_F(LoaderSaverTest, EachSaveWritesOnlyTheCurrentPipeline)
{
    BuildPipeline();
    ASSERT_EQ(Command("save first"), "Success");
    commander->RemoveElement("th");
    ASSERT_EQ(Command("save second"), "Success");
    EXPECT_NE(ReadAll(Folder() + "first.xml").find("id=\"th\""), std::string::npos);
    EXPECT_EQ(ReadAll(Folder() + "second.xml").find("\"th\""), std::string::npos);
}

TEST_F(LoaderSaverTest, HostileLoadsLeaveThePipelineAsItWas)
{
    BuildPipeline();
    ASSERT_EQ(Command("save good"), "Success");
    const std::string good = ReadAll(Folder() + "good.xml");
    const PipelineState before = Snapshot();
    // A well-formed file outside the per-user folder, which no name may reach.
    WriteFile(home.Path() + "/outside.xml", good);
    WriteFile("/tmp/orvane-outside.xml", good);

    std::string deep = "<top>";
    for (int i = 0; i < 200; ++i)
        deep += "<a>";
    for (int i = 0; i < 200; ++i)
        deep += "</a>";
    deep += "</top>";

    struct Case {
        std::string what;
        std::string name;     // as the command line gives it
        std::string content;  // written to the name's file first; "-" writes nothing
    };
    const std::vector<Case> cases = {
        {"missing", "absent", "-"},
        {"empty file", "empty", ""},
        {"truncated", "truncated", good.substr(0, good.size() / 2)},
        {"not xml", "noise", "\x01\xff garbage <<<"},
        {"foreign root", "foreign", "<!DOCTYPE XML>\n<Loader><Element id=\"x\" type=\"Blur\"/></Loader>"},
        {"huge", "huge", "<top>" + std::string(16 * 1024 * 1024, ' ') + "</top>"},
        {"entities", "entities",
         "<!DOCTYPE top [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;\">]>"
         "<top><Element id=\"&b;\" type=\"Blur\"/></top>"},
        {"undeclared entity", "undeclared", "<top><Element id=\"&x;\" type=\"Blur\"/></top>"},
        {"deep nesting", "deep", deep},
        {"traversal", "../outside", "-"},
        {"absolute", "/tmp/orvane-outside", "-"},
        {"parent only", "..", "-"},
        {"hidden", ".good", good},
        {"empty name", "\"\"", "-"},
        {"backslash", "a\\b", "-"},
    };
    for (const Case& c : cases) {
        if (c.content != "-")
            WriteFile(Folder() + c.name + ".xml", c.content);
        EXPECT_EQ(Command("load " + c.name), kFailed) << c.what;
        EXPECT_EQ(Snapshot(), before) << c.what;
    }
    // A folder of a pipeline's name is no file.
    ASSERT_EQ(mkdir((Folder() + "folder.xml").c_str(), 0700), 0);
    EXPECT_EQ(Command("load folder"), kFailed);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(editor.updates, 0);
    EXPECT_EQ(Command("load good"), "Success");
    EXPECT_EQ(Snapshot(), before);
    std::remove("/tmp/orvane-outside.xml");
}

// A file within the byte bound may still hold hundreds of thousands of elements: more
// than 20,000 children of "top", whatever their tag, are refused before any is made.
TEST_F(LoaderSaverTest, FileOfMoreThanTwentyThousandElementsIsRefused)
{
    BuildPipeline();
    const PipelineState before = Snapshot();
    // Elements of one id: the first is made, the rest find it, so the load is quick.
    auto file_of = [](int count, const std::string& element) {
        std::string content = "<!DOCTYPE XML>\n<top>\n";
        for (int i = 0; i < count; ++i)
            content += element;
        return content + "</top>\n";
    };
    const std::string blur = "<Element id=\"b1\" type=\"Blur\"/>\n";
    for (const auto& crowd :
         {std::make_pair("crowd", blur), std::make_pair("other tags", std::string("<x/>"))}) {
        LogCapture log;
        WriteFile(Folder() + crowd.first + ".xml", file_of(20001, crowd.second));
        EXPECT_EQ(Command("load \"" + std::string(crowd.first) + "\""), kFailed) << crowd.first;
        EXPECT_TRUE(log.Contains("Refused pipeline " + std::string(crowd.first) +
                                 " : it has more than 20000 elements"))
            << log.Text();
        EXPECT_EQ(Snapshot(), before) << crowd.first;
    }
    EXPECT_EQ(editor.updates, 0);

    WriteFile(Folder() + "full.xml", file_of(20000, blur));
    EXPECT_EQ(Command("load full"), "Success");
    EXPECT_EQ(commander->GetElementIds(), std::vector<std::string>{"b1"});
}

// A type the catalogue lacks costs only that element and its connections.
TEST_F(LoaderSaverTest, UnknownElementTypeLoadsEverythingElse)
{
    BuildPipeline();
    ASSERT_EQ(Command("save good"), "Success");
    PipelineState expected = Snapshot();
    std::string text = ReadAll(Folder() + "good.xml");
    const std::string blur = "type=\"Blur\"";
    text.replace(text.find(blur), blur.size(), "type=\"Nope\"");
    WriteFile(Folder() + "unknown.xml", text);
    ASSERT_EQ(Command("clear"), "Success");

    LogCapture log;
    EXPECT_EQ(Command("load unknown"), "Success");
    expected.elements.erase(std::find_if(expected.elements.begin(), expected.elements.end(),
                                         [](const ElementState& e) { return e.id == "b1"; }));
    std::vector<ConnectionRecord> kept;
    for (const ConnectionRecord& record : expected.connections)
        if (record.source_element != "b1" && record.sink_element != "b1")
            kept.push_back(record);
    ASSERT_EQ(kept.size(), 3u);
    expected.connections = kept;
    EXPECT_EQ(Snapshot(), expected);
    EXPECT_TRUE(log.Contains("Skipped element b1 of type Nope")) << log.Text();
    EXPECT_EQ(editor.updates, 1);
}

// Entries without ids get made ids; their settings still reach the element made for each.
TEST_F(LoaderSaverTest, EntriesWithoutIdsKeepTheirSettings)
{
    WriteFile(Folder() + "no-ids.xml",
              "<!DOCTYPE XML>\n<top>\n"
              "<Element type=\"Blur\"><Settings name=\"_width\" value=\"7\" extra=\"\"/></Element>\n"
              "<Element type=\"Blur\"><Settings name=\"_width\" value=\"9\" extra=\"\"/></Element>\n"
              "</top>\n");
    LogCapture log;
    EXPECT_EQ(Command("load no-ids"), "Success");
    EXPECT_EQ(commander->GetElementIds(), (std::vector<std::string>{"Blur_0", "Blur_1"}));
    EXPECT_EQ(commander->GetElement("Blur_0")->settings.GetValueAsString("_width"), "7");
    EXPECT_EQ(commander->GetElement("Blur_1")->settings.GetValueAsString("_width"), "9");
    EXPECT_FALSE(log.Contains("could not be found")) << log.Text();
}

// A camera that cannot be opened (none here, or in use) costs only that element.
TEST_F(LoaderSaverTest, CameraThatCannotOpenLeavesTheRestLoaded)
{
    if (Command("make Camera probe") == "probe" && commander->GetElementTable()->Exists("probe"))
        GTEST_SKIP() << "a camera can be opened here";
    BuildPipeline();
    ASSERT_EQ(Command("save good"), "Success");
    const PipelineState expected = Snapshot();
    std::string text = ReadAll(Folder() + "good.xml");
    const std::string camera =
        "<Element id=\"cam\" type=\"Camera\"><Settings name=\"_position_x\" value=\"5\" extra=\"\"/>"
        "<Connection sink_element=\"th\" source_element=\"cam\" sink_name=\"input\" source_name=\"output\"/>"
        "</Element>";
    text.insert(text.find("<Element"), camera);
    WriteFile(Folder() + "camera.xml", text);
    ASSERT_EQ(Command("clear"), "Success");

    LogCapture log;
    EXPECT_EQ(Command("load camera"), "Success");
    EXPECT_EQ(Snapshot(), expected);
    EXPECT_TRUE(log.Contains("Skipped element cam of type Camera")) << log.Text();
}

// Finding that a camera cannot be opened takes a tenth of a second: a file of many tries
// only the first.
TEST_F(LoaderSaverTest, TypeThatCannotBeMadeIsTriedOncePerLoad)
{
    if (Command("make Camera probe") == "probe" && commander->GetElementTable()->Exists("probe"))
        GTEST_SKIP() << "a camera can be opened here";
    std::string entries;
    for (int i = 0; i < 5; ++i)
        entries += "<Element id=\"cam" + std::to_string(i) + "\" type=\"Camera\"/><Element type=\"Nope\"/>";
    WriteFile(Folder() + "cameras.xml",
              "<!DOCTYPE XML>\n<top>" + entries + "<Element id=\"b\" type=\"Blur\"/></top>\n");
    LogCapture log;
    EXPECT_EQ(Command("load cameras"), "Success");
    EXPECT_EQ(commander->GetElementIds(), std::vector<std::string>{"b"});
    EXPECT_EQ(log.LinesWith("Camera cannot be loaded"), 1) << log.Text();
    EXPECT_EQ(log.LinesWith("Could not make element : Nope"), 1) << log.Text();
    EXPECT_EQ(log.LinesWith("Skipped element"), 10) << log.Text();
}

// A link in the folder could point anywhere: nothing is written, read or removed through it.
TEST_F(LoaderSaverTest, LinksInTheFolderAreNotFollowed)
{
    BuildPipeline();
    ASSERT_EQ(Command("save good"), "Success");
    const PipelineState before = Snapshot();
    const std::string outside = home.Path() + "/outside.xml";
    WriteFile(outside, ReadAll(Folder() + "good.xml"));
    const std::string kept = ReadAll(outside);
    ASSERT_EQ(symlink(outside.c_str(), (Folder() + "linked.xml").c_str()), 0);
    ASSERT_EQ(Command("clear"), "Success");
    ASSERT_EQ(Command("make Blur only"), "only");

    EXPECT_EQ(Command("save linked"), kFailed);
    EXPECT_EQ(ReadAll(outside), kept);
    EXPECT_EQ(Command("load linked"), kFailed);
    EXPECT_EQ(Command("list-elements"), "Elements:only\n");
    EXPECT_THROW(hub->delete_signal("linked"), std::exception);
    struct stat info {};
    EXPECT_EQ(lstat((Folder() + "linked.xml").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_FALSE(store->TrySave("linked"));
    EXPECT_EQ(ReadAll(outside), kept);
    EXPECT_EQ(Command("load good"), "Success");
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(LoaderSaverTest, UnsafeNamesTouchNothingOutsideThePerUserFolder)
{
    ASSERT_EQ(Command("make Blur b1"), "b1");
    const std::string outside = home.Path() + "/outside.xml";
    for (const std::string name : {"../outside", "..", ".x", "a/b", "\"\"", "a\\b"}) {
        EXPECT_EQ(Command("save " + name), kFailed) << name;
        EXPECT_FALSE(Exists(outside)) << name;
    }
    WriteFile(outside, "keep");
    EXPECT_THROW(hub->delete_signal("../outside"), std::exception);
    EXPECT_EQ(ReadAll(outside), "keep");
    EXPECT_THROW(hub->save_signal(std::string(256, 'n')), std::exception);
    EXPECT_THROW(hub->save_signal(std::string("a\0b", 3)), std::exception);
    EXPECT_TRUE(store->GetSavedFiles().empty());
}

// What a pipeline file cannot hold never enters the pipeline: an id at "make", a value at
// "set", each with an ERROR that says why, and nothing changes.
TEST_F(LoaderSaverTest, IdsAndValuesThatAFileCannotHoldAreRefused)
{
    ASSERT_EQ(Command("make \"Snap Shot\" snap"), "snap");
    const PipelineState before = Snapshot();
    const std::string bad_texts[] = {"bad\x01name", "line\nfeed", "\xff\xfe", "cut\xe2\x82",
                                     "del\x7f"
                                     "ete"};
    for (const std::string& text : bad_texts) {
        LogCapture log;
        EXPECT_EQ(Command("make Blur \"" + text + "\""), kFailed) << text;
        EXPECT_TRUE(log.Contains("an id holds no control characters and only valid UTF-8")) << log.Text();
    }
    // Tab, line feed and carriage return are text that a file keeps.
    for (const std::string& text : {bad_texts[0], bad_texts[2], bad_texts[3]}) {
        LogCapture log;
        EXPECT_EQ(Command("set snap _file_name \"" + text + "\""), kFailed) << text;
        EXPECT_TRUE(log.Contains("Refused the value for _file_name of snap")) << log.Text();
    }
    EXPECT_EQ(Snapshot(), before);
    // Whatever a file can hold comes back as it was, markup characters and line breaks included.
    const std::string kept = "tab\there &amp; <x a=\"1\"/> 'q' \r\n caf\xc3\xa9";
    commander->GetElement("snap")->settings.SetValue("_file_name", kept, "");
    ASSERT_EQ(Command("save kept"), "Success");
    ASSERT_EQ(Command("clear"), "Success");
    ASSERT_EQ(Command("load kept"), "Success");
    EXPECT_EQ(commander->GetElement("snap")->settings.GetValueAsString("_file_name"), kept);
}

// The node panels write a setting's variable directly: a text that a file cannot hold is
// left out of the save, the rest is written, and the save says it failed.
TEST_F(LoaderSaverTest, SaveThatLeavesASettingOutFails)
{
    ASSERT_EQ(Command("make \"Snap Shot\" snap"), "snap");
    ASSERT_EQ(Command("make Blur b1"), "b1");
    ASSERT_EQ(Command("connect snap b1").rfind("Connected Source : ", 0), 0u);
    ASSERT_EQ(Command("set b1 _width 9"), "Success");
    ASSERT_EQ(Command("set snap _position_x 77"), "Success");
    const PipelineState before = Snapshot();
    ParameterItem& item = commander->GetElement("snap")->settings.FindItem("_file_name");
    const std::string made_name = commander->GetElement("snap")->settings.GetValueAsString("_file_name");
    boost::any_cast<ThreadSafeVariable<std::string>*>(item.value)->Set("bad\x01name");
    LogCapture log;
    EXPECT_EQ(Command("save partial"), kFailed);
    bool named = false;
    for (const std::string& message : log.Messages())
        named = named || (message.find("_file_name") != std::string::npos &&
                          message.find("snap") != std::string::npos);
    EXPECT_TRUE(named) << log.Text();
    EXPECT_TRUE(log.Contains("Saved pipeline partial without 1 elements or settings")) << log.Text();

    ASSERT_EQ(Command("clear"), "Success");
    ASSERT_EQ(Command("load partial"), "Success");
    // The left-out setting comes back as the element makes it; everything else is kept.
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(commander->GetElement("snap")->settings.GetValueAsString("_file_name"), made_name);
}

// A file beyond a bound is refused before anything of it is made, with one ERROR that
// names the file and the bound.
TEST_F(LoaderSaverTest, FilesBeyondTheBoundsAreRefusedWithOneError)
{
    BuildPipeline();
    const PipelineState before = Snapshot();
    auto attributes = [](int count) {
        std::string text;
        for (int i = 0; i < count; ++i)
            text += " a" + std::to_string(i) + "=\"\"";
        return text;
    };
    auto repeated = [](int count, const std::string& text) {
        std::string result;
        for (int i = 0; i < count; ++i)
            result += text;
        return result;
    };
    const struct {
        const char* name;
        std::string entries;
        const char* bound;
    } cases[] = {
        {"wide", "<Element id=\"w\" type=\"Blur\"" + attributes(33) + "/>",
         "a tag in it has more than 32 attributes"},
        {"crowded",
         "<Element id=\"c\" type=\"Blur\">" + repeated(257, "<Settings name=\"_width\" value=\"3\"/>") +
             "</Element>",
         "an element in it has more than 256 children"},
    };
    for (const auto& c : cases) {
        WriteFile(Folder() + c.name + ".xml", "<!DOCTYPE XML>\n<top>" + c.entries + "</top>\n");
        LogCapture log;
        EXPECT_EQ(Command(std::string("load ") + c.name), kFailed) << c.name;
        EXPECT_EQ(log.LinesWith("[ERROR]"), 1) << log.Text();
        EXPECT_TRUE(log.Contains(std::string("Refused pipeline ") + c.name + " : " + c.bound)) << log.Text();
        EXPECT_EQ(Snapshot(), before) << c.name;
    }
    EXPECT_EQ(editor.updates, 0);
}

// Each setting that cannot be set and each connection to an absent element would cost a
// log line, or an exception's, so a file of many would hold the window for its log: the
// first few are named, the rest counted in one line.
TEST_F(LoaderSaverTest, ManyBadEntriesCostAFewLogLines)
{
    std::string entries;
    for (int element = 0; element < 3; ++element) {
        entries += "<Element id=\"b" + std::to_string(element) + "\" type=\"Blur\">";
        for (int i = 0; i < 100; ++i)
            entries += "<Settings name=\"_nope" + std::to_string(i) +
                       "\" value=\"1\"/><Connection source_element=\"gone\""
                       " source_name=\"output\" sink_element=\"b0\" sink_name=\"input\"/>";
        entries += "<Settings name=\"_width\" value=\"9\"/></Element>";
    }
    WriteFile(Folder() + "noisy.xml", "<!DOCTYPE XML>\n<top>" + entries + "</top>\n");
    LogCapture log;
    EXPECT_EQ(Command("load noisy"), "Success");
    EXPECT_EQ(commander->GetElementIds(), (std::vector<std::string>{"b0", "b1", "b2"}));
    EXPECT_EQ(commander->GetElement("b2")->settings.GetValueAsString("_width"), "9");
    EXPECT_LE(log.LinesWith("[ERROR]"), 12) << log.Text();
    EXPECT_TRUE(log.Contains("290 more settings of the file could not be set")) << log.Text();
}

// "make" refuses the element past the cap, so that every pipeline the system holds fits
// in a file that loads.
TEST_F(LoaderSaverTest, ElementsPastTheCapAreNotMade)
{
    for (int i = 0; i < kMaxPipelineElements; ++i)
        ASSERT_FALSE(commander->MakeElement("Tee", "t" + std::to_string(i)).empty());
    LogCapture log;
    EXPECT_EQ(Command("make Tee"), kFailed);
    EXPECT_EQ(Command("make Tee extra"), kFailed);
    EXPECT_EQ(Command("buildlink t0 Tee"), kFailed);
    EXPECT_TRUE(log.Contains("Refused element Tee : the pipeline has 20000 elements")) << log.Text();
    EXPECT_EQ(commander->GetElementIds().size(), static_cast<std::size_t>(kMaxPipelineElements));
}

// A file that no load would read is not written: here a value whose escaped text is too
// long for the byte bound ("&" takes five bytes in the file). Escaping its 3.3 million
// "&" took minutes when each escape copied the rest of the text.
TEST_F(LoaderSaverTest, SaveOfAFileTooLargeToLoadIsRefused)
{
    ASSERT_EQ(Command("make \"Snap Shot\" snap"), "snap");
    ASSERT_EQ(Command("save keep"), "Success");
    const std::string kept = ReadAll(Folder() + "keep.xml");
    commander->GetElement("snap")->settings.SetValue("_file_name",
                                                     std::string(kMaxPipelineFileBytes / 5, '&'), "");
    LogCapture log;
    EXPECT_EQ(Command("save keep"), kFailed);
    EXPECT_TRUE(log.Contains("Refused to save pipeline keep : its file would be larger than 16777216 bytes"))
        << log.Text();
    EXPECT_EQ(ReadAll(Folder() + "keep.xml"), kept);
}

TEST_F(LoaderSaverTest, FailedSaveKeepsThePreviousFile)
{
    ASSERT_EQ(Command("make \"Snap Shot\" snap"), "snap");
    ASSERT_EQ(Command("save keep"), "Success");
    const std::string saved = ReadAll(Folder() + "keep.xml");
    // A folder in the file's place cannot be replaced.
    ASSERT_EQ(mkdir((Folder() + "taken.xml").c_str(), 0700), 0);
    ASSERT_EQ(Command("set snap _file_name fine"), "Success");
    EXPECT_EQ(Command("save taken"), kFailed);
    struct stat info {};
    ASSERT_EQ(stat((Folder() + "taken.xml").c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(Command("save keep"), "Success");
    EXPECT_NE(ReadAll(Folder() + "keep.xml"), saved);
}

TEST_F(LoaderSaverTest, ListsSavedPipelinesAndDeletesThem)
{
    WriteFile(Folder() + "a.xml", "");
    WriteFile(Folder() + "b.txt", "");
    WriteFile(Folder() + "c.xml", "");
    std::vector<std::string> names = store->GetSavedFiles();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"a", "c"}));
    const std::string reply = Command("get-saved");
    EXPECT_EQ(reply.rfind("Files to open: \n", 0), 0u);
    EXPECT_NE(reply.find("a\n"), std::string::npos);
    EXPECT_NE(reply.find("c\n"), std::string::npos);
    EXPECT_EQ(reply.find("b\n"), std::string::npos);

    hub->delete_signal("a");
    EXPECT_FALSE(Exists(Folder() + "a.xml"));
    EXPECT_THROW(hub->delete_signal("a"), std::exception);
    EXPECT_EQ(store->GetSavedFiles(), (std::vector<std::string>{"c"}));
}

TEST_F(LoaderSaverTest, FileWithBothListingsConnectsOnce)
{
    ASSERT_EQ(Command("make Blur b1"), "b1");
    ASSERT_EQ(Command("make Threshold th"), "th");
    ASSERT_EQ(Command("connect b1 th").rfind("Connected Source : ", 0), 0u);
    ASSERT_EQ(Command("save pair"), "Success");
    ASSERT_EQ(Command("clear"), "Success");
    ASSERT_EQ(Command("load pair"), "Success");
    const std::vector<ConnectionRecord> links = commander->GetElementTable()->GetAllConnections();
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(links[0], (ConnectionRecord{"b1", "output", "th", "input"}));
}

TEST_F(LoaderSaverTest, TryEntriesLogFailuresInsteadOfThrowing)
{
    BuildPipeline();
    EXPECT_TRUE(store->TrySave("default"));
    const PipelineState before = Snapshot();
    ASSERT_EQ(Command("clear"), "Success");
    EXPECT_TRUE(store->TryLoad("default"));
    EXPECT_EQ(Snapshot(), before);

    LogCapture log;
    EXPECT_FALSE(store->TryLoad("absent"));
    EXPECT_TRUE(log.Contains("Could not load pipeline absent"));
    EXPECT_EQ(Snapshot(), before);
    ASSERT_EQ(mkdir((Folder() + "taken.xml").c_str(), 0700), 0);
    EXPECT_FALSE(store->TrySave("taken"));
    EXPECT_TRUE(log.Contains("Could not save pipeline taken"));
    EXPECT_FALSE(store->TrySave("../outside"));
}

TEST(LoaderSaverLifetimeTest, ConnectionsEndWithTheStore)
{
    StoreFixture fixture;
    ASSERT_EQ(fixture.Command("make Blur b1"), "b1");
    fixture.store.reset();
    fixture.hub->save_signal("gone");
    EXPECT_FALSE(Exists(fixture.Folder() + "gone.xml"));
    EXPECT_FALSE(fixture.hub->list_signal());
    EXPECT_EQ(fixture.Command("save gone"), "Success");
    EXPECT_EQ(fixture.Command("get-saved"), "Files to open: \nType load [name]");
}

TEST(LoaderSaverLifetimeTest, WithoutCommanderNothingIsWritten)
{
    testsupport::ScopedHome home;
    boost::shared_ptr<ControlAndStatus> hub = boost::make_shared<ControlAndStatus>();
    LoaderSaver store(nullptr, hub);
    EXPECT_THROW(hub->save_signal("x"), std::exception);
    EXPECT_THROW(hub->load_signal("x"), std::exception);
    EXPECT_FALSE(Exists(ControlAndStatus::GetSettingsDirectory() + "x.xml"));
}

}  // namespace
