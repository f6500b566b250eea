#include "core/SafeFiles.h"

#include "support/BoundedChild.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(SafeFilesTest, NamesFromOutsideAreCheckedBeforeUse)
{
    struct Case {
        std::string name;
        bool safe;
    };
    const Case cases[] = {
        {"default", true},
        {"my pipeline 2", true},
        {"caf\xc3\xa9", true},
        {"a.b", true},
        {std::string(255, 'n'), true},
        {"", false},
        {std::string(256, 'n'), false},
        {".hidden", false},
        {".", false},
        {"..", false},
        {"../escape", false},
        {"a..b", false},
        {"sub/name", false},
        {"/etc/passwd", false},
        {"back\\slash", false},
        {std::string("nul\0byte", 8), false},
        {"tab\there", false},
        {"line\nfeed", false},
        {"return\r", false},
        {"del\x7f", false},
        {"bad\xc3", false},
        {"\xc0\xaf", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsSafeFileName(c.name), c.safe) << "name of " << c.name.size() << " bytes";
}

TEST(SafeFilesTest, ReplacingWriteKeepsTheOldFileWhenItFails)
{
    testsupport::TempDir dir;
    const std::string path = dir.File("p.xml");
    ASSERT_TRUE(WriteFileReplacing(path, "first"));
    EXPECT_EQ(ReadAll(path), "first");
    ASSERT_TRUE(WriteFileReplacing(path, "second, longer"));
    EXPECT_EQ(ReadAll(path), "second, longer");

    // A folder that refuses new files: the temporary file cannot be made.
    if (geteuid() != 0) {
        ASSERT_EQ(chmod(dir.Path().c_str(), 0500), 0);
        EXPECT_FALSE(WriteFileReplacing(path, "third"));
        chmod(dir.Path().c_str(), 0700);
        EXPECT_EQ(ReadAll(path), "second, longer");
    }
    EXPECT_FALSE(WriteFileReplacing(dir.File("missing/p.xml"), "x"));
    const std::string folder = dir.File("folder.xml");
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    EXPECT_FALSE(WriteFileReplacing(folder, "x"));
    struct stat info {};
    ASSERT_EQ(stat(folder.c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(ReadAll(path), "second, longer");
}

// A write cut short (here by the file-size limit, as by a full disk) must not be put in place.
TEST(SafeFilesTest, ReplacingWriteCutShortKeepsTheOldFile)
{
    const auto checks = [] {
        testsupport::TempDir dir;
        const std::string path = dir.File("p.xml");
        ASSERT_TRUE(WriteFileReplacing(path, QByteArray(100, 'a')));
        bool written = true;
        {
            testsupport::ScopedFileSizeLimit limit(40);
            written = WriteFileReplacing(path, QByteArray(100, 'b'));
        }
        EXPECT_FALSE(written);
        EXPECT_EQ(ReadAll(path), std::string(100, 'a'));
        // Nor is its temporary file left behind.
        std::size_t entries = 0;
        for (auto it = std::filesystem::directory_iterator(dir.Path());
             it != std::filesystem::directory_iterator(); ++it)
            ++entries;
        EXPECT_EQ(entries, 1u);
    };
    EXPECT_BOUNDED_IN_CHILD(checks);
}

TEST(SafeFilesTest, BoundedReadRefusesWhatItShouldNotRead)
{
    testsupport::TempDir dir;
    const std::string path = dir.File("p.xml");
    ASSERT_TRUE(WriteFileReplacing(path, QByteArray(100, 'x')));
    QByteArray content;
    EXPECT_TRUE(ReadFileBounded(path, 100, content));
    EXPECT_EQ(content.size(), 100);
    EXPECT_FALSE(ReadFileBounded(path, 99, content));
    EXPECT_TRUE(content.isEmpty());
    EXPECT_FALSE(ReadFileBounded(dir.File("missing.xml"), 100, content));
    EXPECT_FALSE(ReadFileBounded(dir.Path(), 100, content));
    const std::string fifo = dir.File("fifo.xml");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(ReadFileBounded(fifo, 100, content));
    const std::string link = dir.File("link.xml");
    ASSERT_EQ(symlink(path.c_str(), link.c_str()), 0);
    EXPECT_FALSE(ReadFileBounded(link, 100, content));
    // Nor is a link written through.
    EXPECT_FALSE(WriteFileReplacing(link, "through"));
    EXPECT_EQ(ReadAll(path), std::string(100, 'x'));
}

// Whatever is not a regular file stays where it is, unopened: opening a FIFO for writing
// would wait for a reader.
TEST(SafeFilesTest, ReplacingWriteLeavesWhatIsNotARegularFile)
{
    testsupport::TempDir dir;
    const std::string fifo = dir.File("fifo.txt");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string dangling = dir.File("dangling.txt");
    ASSERT_EQ(symlink(dir.File("nowhere.txt").c_str(), dangling.c_str()), 0);
    for (const std::string& path : {fifo, dangling}) {
        SCOPED_TRACE(path);
        struct stat before {};
        ASSERT_EQ(lstat(path.c_str(), &before), 0);
        EXPECT_FALSE(WriteFileReplacing(path, "x"));
        struct stat after {};
        ASSERT_EQ(lstat(path.c_str(), &after), 0);
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_EQ(after.st_mode, before.st_mode);
    }
    EXPECT_FALSE(PathExists(dir.File("nowhere.txt")));
    EXPECT_TRUE(PathExists(dangling));
    EXPECT_TRUE(PathExists(fifo));
}

}  // namespace
