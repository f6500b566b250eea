// Opening files named from outside: only regular files, never through a link, never
// waiting on a FIFO, bounded reads, writes that replace the whole content, and new files
// made only where nothing is.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/RegularFile.h"
#include "support/FifoFixture.h"
#include "support/TestSupport.h"

namespace {

std::vector<unsigned char> Bytes(const std::string& text)
{
    return std::vector<unsigned char>(text.begin(), text.end());
}

std::string Content(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

class RegularFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::ofstream(dir.File("file")) << "twelve bytes";
        ASSERT_TRUE(fifofixture::MakeFifo(dir.File("fifo")));
        ASSERT_EQ(0, ::symlink(dir.File("file").c_str(), dir.File("link").c_str()));
        ASSERT_EQ(0, ::symlink(dir.File("nowhere").c_str(), dir.File("dangling").c_str()));
        ASSERT_TRUE(std::filesystem::create_directory(dir.File("folder")));
    }

    testsupport::TempDir dir;
};

TEST_F(RegularFileTest, ReadsOnlyARegularFileWithinTheBound)
{
    const struct {
        const char* name;
        std::size_t max_bytes;
        FileProblem problem;
    } cases[] = {
        {"file", 12, FileProblem::kNone},           {"file", 11, FileProblem::kTooLarge},
        {"missing", 100, FileProblem::kCannotOpen}, {"fifo", 100, FileProblem::kNotRegular},
        {"link", 100, FileProblem::kNotRegular},    {"dangling", 100, FileProblem::kNotRegular},
        {"folder", 100, FileProblem::kNotRegular},
    };
    for (const auto& c : cases) {
        std::vector<unsigned char> bytes = Bytes("old");
        FileOutcome outcome;
        EXPECT_TRUE(fifofixture::ReturnsWithoutBlocking(dir.File("fifo"), [&] {
            outcome = ReadRegularFile(dir.File(c.name), c.max_bytes, bytes);
        })) << c.name;
        EXPECT_EQ(c.problem, outcome.problem) << c.name << " " << c.max_bytes;
        EXPECT_EQ(c.problem == FileProblem::kNone ? Bytes("twelve bytes") : Bytes(""), bytes) << c.name;
    }
}

TEST_F(RegularFileTest, WritesANewFileOrReplacesAllOfAnOldOne)
{
    EXPECT_TRUE(WriteRegularFile(dir.File("file"), Bytes("short")).Ok());
    EXPECT_EQ("short", Content(dir.File("file")));
    EXPECT_TRUE(WriteRegularFile(dir.File("new"), Bytes("new")).Ok());
    EXPECT_EQ("new", Content(dir.File("new")));
    EXPECT_EQ(FileProblem::kCannotOpen, WriteRegularFile(dir.File("no/such"), Bytes("x")).problem);
}

// A FIFO that has a reader opens for writing at once; it is refused all the same.
TEST_F(RegularFileTest, WritesNothingThatIsNotARegularFile)
{
    const int reader = ::open(dir.File("fifo").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    for (const char* name : {"fifo", "link", "dangling", "folder"}) {
        FileOutcome outcome;
        EXPECT_TRUE(fifofixture::ReturnsWithoutBlocking(dir.File("fifo"), [&] {
            outcome = WriteRegularFile(dir.File(name), Bytes("written"));
        })) << name;
        EXPECT_EQ(FileProblem::kNotRegular, outcome.problem) << name;
        EXPECT_EQ("Not a regular file", outcome.Describe()) << name;
    }
    char buffer[16];
    EXPECT_LE(::read(reader, buffer, sizeof buffer), 0) << "bytes reached the FIFO";
    ::close(reader);
    EXPECT_EQ("twelve bytes", Content(dir.File("file")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("nowhere")));
}

// Anything at the path, whatever it is, keeps the new file from being made there.
TEST_F(RegularFileTest, CreatesOnlyAFileThatDoesNotExistYet)
{
    EXPECT_TRUE(CreateRegularFile(dir.File("new"), Bytes("new")).Ok());
    EXPECT_EQ("new", Content(dir.File("new")));
    for (const char* name : {"new", "file", "fifo", "link", "dangling", "folder"}) {
        FileOutcome outcome;
        EXPECT_TRUE(fifofixture::ReturnsWithoutBlocking(dir.File("fifo"), [&] {
            outcome = CreateRegularFile(dir.File(name), Bytes("written"));
        })) << name;
        EXPECT_EQ(FileProblem::kCannotOpen, outcome.problem) << name;
        EXPECT_EQ(EEXIST, outcome.error) << name;
    }
    EXPECT_EQ("new", Content(dir.File("new")));
    EXPECT_EQ("twelve bytes", Content(dir.File("file")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("nowhere")));
    EXPECT_EQ(FileProblem::kCannotOpen, CreateRegularFile(dir.File("no/such"), Bytes("x")).problem);
}

}  // namespace
