#include "core/MoveAside.h"

#include "support/LogCapture.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// Whatever takes a name (a kept copy, a dangling link, a folder) is never replaced: the file
// goes to the first name nothing holds.
TEST(MoveAsideTest, TakesTheFirstNameThatNothingHolds)
{
    struct Case {
        const char* what;
        std::function<void(const std::string& name)> take;  // puts something at a name
        int taken;                                          // how many names of the series
        const char* expected;
    };
    const auto kept_copy = [](const std::string& name) { WriteFile(name, "kept " + name); };
    const Case cases[] = {
        {"nothing there", kept_copy, 0, "stem.txt"},
        {"one kept copy", kept_copy, 1, "stem-1.txt"},
        {"three kept copies", kept_copy, 3, "stem-3.txt"},
        {"a dangling link", [](const std::string& name) { ASSERT_EQ(symlink("nowhere", name.c_str()), 0); },
         1, "stem-1.txt"},
        {"an empty folder", [](const std::string& name) { ASSERT_EQ(mkdir(name.c_str(), 0700), 0); }, 1,
         "stem-1.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testsupport::TempDir dir;
        const std::string source = dir.File("refused.txt");
        WriteFile(source, "the user's values");
        for (int i = 0; i < c.taken; ++i)
            c.take(dir.File(i == 0 ? "stem.txt" : "stem-" + std::to_string(i) + ".txt"));

        std::string error;
        EXPECT_EQ(MoveToFirstFreeName(source, dir.File("stem"), ".txt", error), dir.File(c.expected));
        EXPECT_EQ(ReadFile(dir.File(c.expected)), "the user's values");
        EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(source)));
        for (int i = 0; i < c.taken; ++i) {
            const std::string name = dir.File(i == 0 ? "stem.txt" : "stem-" + std::to_string(i) + ".txt");
            std::filesystem::file_status status = std::filesystem::symlink_status(name);
            EXPECT_TRUE(std::filesystem::is_symlink(status) || std::filesystem::is_directory(status) ||
                        ReadFile(name) == "kept " + name)
                << name;
        }
    }
}

TEST(MoveAsideTest, RefusedFileIsMovedWithAWarningThatNamesWhereItWent)
{
    testsupport::TempDir dir;
    WriteFile(dir.File("default-unreadable.xml"), "the first refused session");
    WriteFile(dir.File("default.xml"), "the second refused session");
    LogCapture capture;
    EXPECT_TRUE(MoveRefusedFileAside(dir.File("default.xml"), dir.File("default-unreadable"), ".xml",
                                     "The pipeline \"default\""));
    EXPECT_EQ(capture.LinesWith("[WARNING]"), 1);
    EXPECT_EQ(capture.Messages(),
              std::vector<std::string>{"The pipeline \"default\" could not be read; it was "
                                       "moved aside to " +
                                       dir.File("default-unreadable-1.xml")});
    EXPECT_EQ(ReadFile(dir.File("default-unreadable.xml")), "the first refused session");
    EXPECT_EQ(ReadFile(dir.File("default-unreadable-1.xml")), "the second refused session");
    EXPECT_FALSE(std::filesystem::exists(dir.File("default.xml")));
}

// A save refuses to replace anything but a regular file, so there is nothing to keep from it.
TEST(MoveAsideTest, AnythingButARegularFileStaysWhereItIs)
{
    const std::function<void(const std::string&)> makes[] = {
        [](const std::string& path) { ASSERT_EQ(symlink("/dev/zero", path.c_str()), 0); },
        [](const std::string& path) { ASSERT_EQ(mkfifo(path.c_str(), 0600), 0); },
        [](const std::string& path) { ASSERT_EQ(mkdir(path.c_str(), 0700), 0); },
        [](const std::string&) {},
    };
    for (const auto& make : makes) {
        testsupport::TempDir dir;
        make(dir.File("default.xml"));
        LogCapture capture;
        EXPECT_TRUE(
            MoveRefusedFileAside(dir.File("default.xml"), dir.File("default-unreadable"), ".xml", "It"));
        EXPECT_EQ(capture.Text(), "");
        EXPECT_FALSE(
            std::filesystem::exists(std::filesystem::symlink_status(dir.File("default-unreadable.xml"))));
    }
}

// When every name is taken the file stays, and the caller learns that a save must not replace it.
TEST(MoveAsideTest, AFileThatCannotMoveStaysWithAnError)
{
    testsupport::TempDir dir;
    WriteFile(dir.File("s.txt"), "the user's values");
    WriteFile(dir.File("s-unreadable.txt"), "");
    for (int i = 1; i < 1000; ++i)
        WriteFile(dir.File("s-unreadable-" + std::to_string(i) + ".txt"), "");
    LogCapture capture;
    EXPECT_FALSE(
        MoveRefusedFileAside(dir.File("s.txt"), dir.File("s-unreadable"), ".txt", "The settings file"));
    EXPECT_EQ(ReadFile(dir.File("s.txt")), "the user's values");
    EXPECT_EQ(capture.LinesWith("[ERROR]"), 1);
    EXPECT_EQ(capture.Messages(),
              std::vector<std::string>{"The settings file could not be read, nor moved aside to " +
                                       dir.File("s-unreadable.txt") + " : every name up to " +
                                       dir.File("s-unreadable-999.txt") +
                                       " is taken; it will not be saved over"});
    EXPECT_FALSE(std::filesystem::exists(dir.File("s-unreadable-1000.txt")));
}

}  // namespace
