#include <gtest/gtest.h>

#include <QDir>
#include <algorithm>
#include <fstream>

#include "core/Utilities.h"
#include "support/TestSupport.h"

namespace {

struct PathCase {
    std::string path, extension, without_extension, file_name;
};

TEST(FileUtilities, ExtensionsAndFileNames)
{
    const PathCase cases[] = {
        {"/data/shot.png", "png", "/data/shot", "shot.png"},
        {"archive.tar.gz", "gz", "archive.tar", ""},
        {"plain", "", "plain", ""},
        {"/home/j.doe/shot", "", "/home/j.doe/shot", "shot"},
        {"/home/j.doe/shot.jpg", "jpg", "/home/j.doe/shot", "shot.jpg"},
        {"dir/", "", "dir/", ""},
        {"name.", "", "name", ""},
        {"", "", "", ""},
    };
    for (const PathCase& c : cases) {
        EXPECT_EQ(GetExtension(c.path), c.extension) << c.path;
        EXPECT_EQ(GetFileExtension(c.path), c.extension) << c.path;
        EXPECT_EQ(RemoveExtension(c.path), c.without_extension) << c.path;
        EXPECT_EQ(StripExtension(c.path), c.without_extension) << c.path;
        EXPECT_EQ(GetFileName(c.path), c.file_name) << c.path;
    }
}

TEST(FileUtilities, DirectoryOfAPathIsAbsolute)
{
    EXPECT_EQ(GetDirectory("/data/videos/clip.avi"), "/data/videos");
    EXPECT_EQ(GetDirectory("sub/clip.avi"), (QDir::currentPath() + "/sub").toStdString());
}

class DirectoryListing : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : {"a.xml", "b.XML", "c.txt", "noext"})
            std::ofstream(dir_.File(name)) << "x";
        QDir().mkpath(QString::fromStdString(dir_.File("folder.xml")));
    }

    std::string Absolute(const std::string& name) const
    {
        return QDir(QString::fromStdString(dir_.File(name))).absolutePath().toStdString();
    }

    testsupport::TempDir dir_;
};

TEST_F(DirectoryListing, ListsPlainFilesOnlyWithAbsolutePaths)
{
    std::vector<std::string> files = ListDirectory(dir_.Path());
    std::sort(files.begin(), files.end());
    const std::vector<std::string> expected = {Absolute("a.xml"), Absolute("b.XML"), Absolute("c.txt"),
                                               Absolute("noext")};
    EXPECT_EQ(files, expected);
}

TEST_F(DirectoryListing, ExtensionFilterIsCaseSensitive)
{
    EXPECT_EQ(ListFilesWithExtension(dir_.Path(), "xml"), std::vector<std::string>{Absolute("a.xml")});
    EXPECT_TRUE(ListFilesWithExtension(dir_.Path(), "png").empty());
}

TEST(FileUtilities, MissingDirectoryListsNothing)
{
    EXPECT_TRUE(ListDirectory("/no/such/folder/anywhere").empty());
}

}  // namespace
