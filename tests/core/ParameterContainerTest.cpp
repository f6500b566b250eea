#include "core/ParameterContainer.h"

#include "core/ControlBaseClass.h"
#include "core/CustomException.h"
#include "core/ThreadSafeVariable.h"

#include "support/BoundedChild.h"
#include "support/LogCapture.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

class Sample : public ControlBaseClass {
public:
    Sample() : ControlBaseClass("Sample")
    {
        settings.AddSetting("_count", &count, "min=0, max=10");
        settings.AddSetting("_rate", &rate, "");
        settings.AddSetting("_enabled", &enabled, "");
        settings.AddSetting("_path", &path, "type=file_path");
        settings.AddSetting("_width", &width, "");
    }

    ThreadSafeVariable<int> count{5};
    ThreadSafeVariable<double> rate{30.0};
    ThreadSafeVariable<bool> enabled{false};
    ThreadSafeVariable<std::string> path{std::string("/tmp/a b")};
    int width = 640;
};

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream file(path, std::ios::binary);
    file << text;
}

// Lines logged since the previous drain that contain the text.
int LoggedLinesWith(const std::string& log, const std::string& text)
{
    int count = 0;
    std::istringstream lines(log);
    for (std::string line; std::getline(lines, line);)
        count += line.find(text) != std::string::npos ? 1 : 0;
    return count;
}

TEST(ParameterContainerTest, EveryObjectListsItsNameTwice)
{
    Sample sample;
    const auto pairs = sample.settings.GetNameValuePairs();
    ASSERT_EQ(pairs.size(), 7u);
    EXPECT_EQ(pairs[0], std::make_pair(std::string("_setting_name"), std::string("Sample")));
    EXPECT_EQ(pairs[1], pairs[0]);
    const std::vector<ParameterItem> items = sample.settings.GetItems();
    EXPECT_EQ(items[0].descriptor, "");
    EXPECT_EQ(items[1].descriptor, "type=hidden");
    EXPECT_EQ(sample.settings.ToString(), "_setting_name = Sample\n"
                                          "_setting_name = Sample\n"
                                          "_count = 5\n"
                                          "_rate = 30\n"
                                          "_enabled = 0\n"
                                          "_path = /tmp/a b\n"
                                          "_width = 640\n");
}

TEST(ParameterContainerTest, FindItemIsCaseSensitive)
{
    Sample sample;
    EXPECT_EQ(sample.settings.FindItem("_count").name, "_count");
    try {
        sample.settings.FindItem("_Count");
        ADD_FAILURE() << "found a setting by another case";
    } catch (const CustomException& e) {
        EXPECT_STREQ(e.what(), "Could not find setting item _Count");
    }
}

TEST(ParameterContainerTest, MissingValueGivesEmptyTextAndTwoErrorLines)
{
    Sample sample;
    LogCapture capture;
    EXPECT_EQ(sample.settings.GetValueAsString("_missing"), "");
    const std::string log = capture.Text();
    EXPECT_EQ(LoggedLinesWith(log, "[ERROR]"), 2);
    EXPECT_EQ(LoggedLinesWith(log, "Exception thrown: Could not find setting item _missing"), 1);
    EXPECT_EQ(LoggedLinesWith(log, "Could not get value for _missing"), 1);
}

TEST(ParameterContainerTest, SetValueConvertsEachType)
{
    Sample sample;
    sample.settings.SetValue("_count", "7", "");
    sample.settings.SetValue("_rate", "12.5", "");
    sample.settings.SetValue("_enabled", "1", "");
    sample.settings.SetValue("_path", "", "");
    sample.settings.SetValue("_width", "800", "");
    EXPECT_EQ(sample.count.Get(), 7);
    EXPECT_EQ(sample.rate.Get(), 12.5);
    EXPECT_TRUE(sample.enabled.Get());
    EXPECT_EQ(sample.path.Get(), "");
    EXPECT_EQ(sample.width, 800);
    sample.settings.SetValue("_setting_name", "Renamed", "");
    EXPECT_EQ(sample.name, "Renamed");
}

TEST(ParameterContainerTest, UnreadableValueKeepsVariableAndDescriptor)
{
    Sample sample;
    LogCapture capture;
    sample.settings.SetValue("_count", "many", "min=0, max=99");
    sample.settings.SetValue("_enabled", "true", "");
    EXPECT_EQ(sample.count.Get(), 5);
    EXPECT_FALSE(sample.enabled.Get());
    EXPECT_EQ(sample.settings.FindItem("_count").descriptor, "min=0, max=10");
    const std::string log = capture.Text();
    EXPECT_EQ(LoggedLinesWith(log, "Could not find setting item for _count to set value many"), 1);
    EXPECT_EQ(LoggedLinesWith(log, "Could not find setting item for _enabled to set value true"), 1);

    sample.settings.SetValue("_count", "9", "min=0, max=99");
    EXPECT_EQ(sample.count.Get(), 9);
    EXPECT_EQ(sample.settings.FindItem("_count").descriptor, "min=0, max=99");
}

TEST(ParameterContainerTest, SetValueNeitherSignalsNorRaisesTheFlag)
{
    Sample sample;
    int emitted = 0;
    sample.settings_changed_signal.connect([&emitted] { ++emitted; });
    sample.settings_changed_flag.Set(false);
    sample.settings.SetValue("_count", "3", "");
    EXPECT_EQ(emitted, 0);
    EXPECT_FALSE(sample.settings_changed_flag.Get());
}

TEST(ParameterContainerTest, ConvertorIsKeptAndMissingConvertorIsReported)
{
    Sample sample;
    ParameterItem& item = sample.settings.FindItem("_rate");
    EXPECT_FALSE(item.convertor);
    const auto convertor = ParameterContainer::GetConvertor(item);
    EXPECT_EQ(item.convertor, convertor);
    EXPECT_EQ(ParameterContainer::GetConvertor(item), convertor);

    struct Unserved {};
    Unserved unserved;
    ParameterContainer container;
    container.AddSetting("_odd", &unserved, "");
    container.AddSetting("_empty", static_cast<ThreadSafeVariable<std::vector<int>>*>(nullptr), "");
    try {
        ParameterContainer::GetConvertor(container.FindItem("_odd"));
        ADD_FAILURE() << "found a convertor";
    } catch (const CustomException& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Could not find setting convertor for ", 0), 0u);
        EXPECT_NE(std::string(e.what()).find("Unserved*"), std::string::npos);
    }
    EXPECT_EQ(container.GetValueAsString("_odd"), "");
    EXPECT_EQ(container.GetValueAsString("_empty"), "");
}

TEST(ParameterContainerTest, DefaultIsAppliedLowerCasedWithoutSpaces)
{
    ThreadSafeVariable<std::string> text{std::string("initial")};
    ThreadSafeVariable<int> number{0};
    ParameterContainer container;
    container.AddSetting("_text", &text, "default=Hello World");
    container.AddSetting("_number", &number, "min=0, Default = 12");
    EXPECT_EQ(text.Get(), "helloworld");
    EXPECT_EQ(number.Get(), 12);
}

TEST(ParameterContainerTest, SettingsFileLayout)
{
    testsupport::TempDir dir;
    Sample sample;
    sample.settings.SaveToFile(dir.File("Sample.txt"), false);
    const std::string expected = "_setting_name=Sample\n"
                                 "_setting_name=Sample\n"
                                 "_count=5\n"
                                 "_rate=30\n"
                                 "_enabled=0\n"
                                 "_path=/tmp/a b\n"
                                 "_width=640\n";
    EXPECT_EQ(ReadFile(dir.File("Sample.txt")), expected);
    sample.settings.SaveToFile(dir.File("Sample.txt"), false);
    EXPECT_EQ(ReadFile(dir.File("Sample.txt")), expected);
    sample.settings.SaveToFile(dir.File("Sample.txt"), true);
    EXPECT_EQ(ReadFile(dir.File("Sample.txt")), expected + expected);
}

TEST(ParameterContainerTest, UnwritableFileLeavesADebugLine)
{
    testsupport::TempDir dir;
    Sample sample;
    LogCapture capture;
    sample.settings.SaveToFile(dir.File("missing/Sample.txt"), false);
    const std::string log = capture.Text();
    EXPECT_EQ(LoggedLinesWith(log, "[DEBUG1]"), 1);
    EXPECT_EQ(LoggedLinesWith(log, "Could not save file"), 1);
}

TEST(ParameterContainerTest, ReadingBackRestoresEverySetting)
{
    testsupport::TempDir dir;
    Sample written;
    written.count.Set(2);
    written.rate.Set(0.125);
    written.enabled.Set(true);
    written.path.Set("/home/j.doe/shot 1.png");
    written.width = 320;
    written.settings.SaveToFile(dir.File("Sample.txt"), false);

    Sample read;
    read.settings.LoadFromFile(dir.File("Sample.txt"));
    EXPECT_EQ(read.settings.GetNameValuePairs(), written.settings.GetNameValuePairs());
}

struct LineCase {
    std::string line;
    int count;         // expected _count afterwards (starts at 5)
    std::string path;  // expected _path afterwards (starts "/tmp/a b")
};

TEST(ParameterContainerTest, SettingsFileLines)
{
    const std::vector<LineCase> cases = {
        {"_count=8", 8, "/tmp/a b"},
        {"_count=8\r", 8, "/tmp/a b"},
        {"_count=8 # chosen by hand", 5, "/tmp/a b"},
        {"_count=8# chosen by hand", 8, "/tmp/a b"},
        {"# _count=8", 5, "/tmp/a b"},
        {"_count=", 5, "/tmp/a b"},
        {"_count", 5, "/tmp/a b"},
        {"", 5, "/tmp/a b"},
        {"_count = 8", 5, "/tmp/a b"},
        {"_count=8=9", 8, "/tmp/a b"},
        {"_path= spaced ", 5, " spaced "},
        {"_path=x\r", 5, "x"},
        {"_path=a#b", 5, "a"},
        {"_unknown=1", 5, "/tmp/a b"},
        {"=1", 5, "/tmp/a b"},
    };
    for (const LineCase& c : cases) {
        Sample sample;
        sample.settings.ParseSettingLine(c.line);
        EXPECT_EQ(sample.count.Get(), c.count) << c.line;
        EXPECT_EQ(sample.path.Get(), c.path) << c.line;
    }
}

TEST(ParameterContainerTest, LoadingAFileWithCommentsAndWindowsLineEnds)
{
    testsupport::TempDir dir;
    WriteFile(dir.File("Sample.txt"), "# written by hand\r\n"
                                      "_setting_name=Sample\r\n"
                                      "_count=9\r\n"
                                      "\r\n"
                                      "_rate=2.5#tuned\r\n"
                                      "_enabled=1\r\n"
                                      "_path=/data/in.avi");
    Sample sample;
    sample.settings.LoadFromFile(dir.File("Sample.txt"));
    EXPECT_EQ(sample.count.Get(), 9);
    EXPECT_EQ(sample.rate.Get(), 2.5);
    EXPECT_TRUE(sample.enabled.Get());
    EXPECT_EQ(sample.path.Get(), "/data/in.avi");
    EXPECT_EQ(sample.name, "Sample");

    Sample untouched;
    untouched.settings.LoadFromFile(dir.File("absent.txt"));
    EXPECT_EQ(untouched.count.Get(), 5);
}

// What lies at a settings file's path may be anything; only a regular file of at most 1 MiB
// is read. Everything else is one ERROR line naming the path, and no setting changes.
TEST(ParameterContainerTest, SettingsFileThatIsNotAFileOfBoundedSizeIsRefused)
{
    struct Case {
        std::string what;
        std::function<void(const std::string& path, const testsupport::TempDir& dir)> make;
    };
    const auto link_to = [](const std::string& target) {
        return [target](const std::string& path, const testsupport::TempDir&) {
            ASSERT_EQ(symlink(target.c_str(), path.c_str()), 0);
        };
    };
    const std::vector<Case> cases = {
        {"a FIFO", [](const std::string& path,
                      const testsupport::TempDir&) { ASSERT_EQ(mkfifo(path.c_str(), 0600), 0); }},
        {"a link to /dev/zero", link_to("/dev/zero")},
        {"a link to /dev/urandom", link_to("/dev/urandom")},
        {"a link to a good file",
         [](const std::string& path, const testsupport::TempDir& dir) {
             WriteFile(dir.File("elsewhere.txt"), "_count=8\n");
             ASSERT_EQ(symlink(dir.File("elsewhere.txt").c_str(), path.c_str()), 0);
         }},
        {"a folder", [](const std::string& path,
                        const testsupport::TempDir&) { ASSERT_EQ(mkdir(path.c_str(), 0700), 0); }},
        {"a file over 1 MiB",
         [](const std::string& path, const testsupport::TempDir&) {
             std::string lines;
             while (lines.size() <= 1024 * 1024)
                 lines += "_count=8\n";
             WriteFile(path, lines);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto checks = [&] {
            testsupport::TempDir dir;
            const std::string path = dir.File("Sample.txt");
            c.make(path, dir);
            Sample sample;
            LogCapture capture;
            sample.settings.LoadFromFile(path);
            EXPECT_EQ(sample.count.Get(), 5);
            const std::string log = capture.Text();
            EXPECT_EQ(LoggedLinesWith(log, "[ERROR]"), 1) << log;
            EXPECT_EQ(LoggedLinesWith(log, "Could not read the settings file " + path), 1) << log;
        };
        EXPECT_BOUNDED_IN_CHILD(checks);
    }
}

TEST(ParameterContainerTest, SettingsFileDoesNotRenameItsObject)
{
    Sample sample;
    LogCapture capture;
    sample.settings.ParseSettingLine("_setting_name=../escaped-Sample");
    EXPECT_EQ(sample.name, "Sample");
    EXPECT_EQ(LoggedLinesWith(capture.Text(), "[WARNING]"), 1);
    EXPECT_EQ(LoggedLinesWith(capture.Text(), "../escaped-Sample"), 1);
    sample.settings.ParseSettingLine("_setting_name=Sample");
    EXPECT_EQ(sample.name, "Sample");
    EXPECT_EQ(LoggedLinesWith(capture.Text(), "[WARNING]"), 1);
}

// A save replaces only a regular file: a link is not written through, a FIFO is not opened.
TEST(ParameterContainerTest, SaveLeavesWhatIsNotARegularFile)
{
    const auto checks = [] {
        testsupport::TempDir dir;
        const std::string outside = dir.File("outside.txt");
        WriteFile(outside, "keep me\n");
        const std::string link = dir.File("Linked.txt");
        ASSERT_EQ(symlink(outside.c_str(), link.c_str()), 0);
        const std::string fifo = dir.File("Fifo.txt");
        ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
        Sample sample;
        for (const std::string& path : {link, fifo}) {
            SCOPED_TRACE(path);
            LogCapture capture;
            sample.settings.SaveToFile(path, false);
            EXPECT_EQ(LoggedLinesWith(capture.Text(), "Could not write the settings file " + path), 1);
        }
        EXPECT_EQ(ReadFile(outside), "keep me\n");
        struct stat info {};
        ASSERT_EQ(lstat(link.c_str(), &info), 0);
        EXPECT_TRUE(S_ISLNK(info.st_mode));
        ASSERT_EQ(lstat(fifo.c_str(), &info), 0);
        EXPECT_TRUE(S_ISFIFO(info.st_mode));
    };
    EXPECT_BOUNDED_IN_CHILD(checks);
}

TEST(ControlBaseClassTest, StartsFlaggedWithNamedSignalsInOrder)
{
    Sample sample;
    EXPECT_TRUE(sample.settings_changed_flag.Get());
    EXPECT_TRUE(sample.GetDisplayPipes().empty());

    boost::signals2::signal<void()> take_image;
    boost::signals2::signal<void()> reset;
    sample.signal_container.AddSignal(&take_image, "_take_image");
    sample.signal_container.AddSignal(&reset, "_ResetToSelected");
    const auto signals_list = sample.signal_container.GetSignals();
    ASSERT_EQ(signals_list.size(), 2u);
    EXPECT_EQ(signals_list[0].first, &take_image);
    EXPECT_EQ(signals_list[0].second, "_take_image");
    EXPECT_EQ(signals_list[1].first, &reset);
    EXPECT_EQ(signals_list[1].second, "_ResetToSelected");
}

TEST(ControlBaseClassTest, ItemsFireTheirDestroyedSignalsWithTheObject)
{
    std::vector<std::string> names_at_destruction;
    auto* sample = new Sample;
    ParameterItem& item = sample->settings.FindItem("_setting_name");
    item.GetDestroyedSignal().connect(
        [&names_at_destruction](ParameterItem* gone) { names_at_destruction.push_back(gone->name); });
    delete sample;
    ASSERT_EQ(names_at_destruction.size(), 1u);
    EXPECT_EQ(names_at_destruction[0], "_setting_name");
}

}  // namespace
