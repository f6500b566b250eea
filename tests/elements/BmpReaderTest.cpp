#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <opencv2/imgcodecs.hpp>

#include "elements/BmpReader.h"
#include "support/FifoFixture.h"
#include "support/TestSupport.h"

namespace {

struct KeyCase {
    std::string path;
    std::string key;
};

TEST(BmpReaderNames, SequenceKeyDropsTheNumber)
{
    const std::vector<KeyCase> cases = {
        {"/data/shot_3.png", "/data/shot.png"},       {"/data/my_shot_10.tiff", "/data/my_shot.tiff"},
        {"/data/shot.png", "/data/shot.png"},         {"/data/shot_3", "/data/shot."},
        {"/data/j.doe/shot_3", "/data/j.doe/shot_3"}, {"/data_1/shot_2.png", "/data_1/shot.png"},
    };
    for (const KeyCase& c : cases)
        EXPECT_EQ(c.key, BmpReader::SequenceKey(c.path)) << c.path;
}

TEST(BmpReaderNames, SequenceNumberIsTheDecimalTail)
{
    EXPECT_EQ(3, BmpReader::SequenceNumber("/data/shot_3.png"));
    EXPECT_EQ(7, BmpReader::SequenceNumber("/data/clip_07.avi"));
    EXPECT_EQ(-2, BmpReader::SequenceNumber("/data/shot_-2.png"));
    EXPECT_EQ(12, BmpReader::SequenceNumber("/data/a_b_12.png"));
    for (const char* bad : {"/data/shot.png", "/data/shot_x.png", "/data/shot_.png", "/data/shot_ 3.png",
                            "/data/shot_3a.png", "/data_1/shot.png"})
        EXPECT_ANY_THROW(BmpReader::SequenceNumber(bad)) << bad;
}

class BmpReaderTest : public ::testing::Test {
protected:
    // a_N.png holds grey value 10 * N, so each frame tells which file it came from.
    void WriteImage(const std::string& name, int value)
    {
        ASSERT_TRUE(cv::imwrite(dir.File(name), cv::Mat(4, 5, CV_8UC1, cv::Scalar(value))));
    }

    void WriteSequenceWithDecoys()
    {
        WriteImage("a_1.png", 10);
        WriteImage("a_2.png", 20);
        WriteImage("a_10.png", 100);
        WriteImage("a_x.png", 1);
        WriteImage("a.png", 2);
        WriteImage("b_3.png", 3);
        WriteImage("a_4.bmp", 4);
    }

    std::vector<int> PlayedValues(BmpReader& reader)
    {
        std::vector<int> values;
        for (std::int64_t i = 0; i < reader.GetNumberOfFrames(); ++i) {
            PassableItem<VideoFrame> item = reader.GetFrame(i);
            EXPECT_EQ(CV_8UC3, item.data->image.type());
            values.push_back(item.data->image.at<cv::Vec3b>(0, 0)[0]);
        }
        return values;
    }

    testsupport::TempDir dir;
};

TEST_F(BmpReaderTest, PlaysTheNumberedFilesInNumericOrderThroughAnyOfThem)
{
    WriteSequenceWithDecoys();
    for (const std::string& name : std::vector<std::string>{"a_1.png", "a_2.png", "a_10.png"}) {
        BmpReader reader;
        ASSERT_TRUE(reader.Open(dir.File(name))) << name;
        EXPECT_TRUE(reader.IsOpen());
        EXPECT_EQ((std::vector<int>{10, 20, 100}), PlayedValues(reader)) << name;
    }
}

TEST_F(BmpReaderTest, RelativeAndUntidyPathsFindTheSameSequence)
{
    WriteSequenceWithDecoys();
    std::filesystem::create_directory(dir.File("sub"));
    const std::string untidy = dir.Path() + "//sub/../a_2.png";
    const std::string relative =
        std::filesystem::relative(dir.File("a_2.png"), std::filesystem::current_path()).string();
    for (const std::string& path : {untidy, relative, "./" + relative}) {
        BmpReader reader;
        ASSERT_TRUE(reader.Open(path)) << path;
        EXPECT_EQ((std::vector<int>{10, 20, 100}), PlayedValues(reader)) << path;
    }
}

TEST_F(BmpReaderTest, RefusesNamesWithoutNumbersMissingFilesAndNonImages)
{
    WriteSequenceWithDecoys();
    std::ofstream(dir.File("clip_07.avi")) << "not an image at all";
    std::ofstream(dir.File("clip_08.avi")) << "not an image either";
    for (const std::string& name :
         std::vector<std::string>{"a_x.png", "a.png", "a_3.png", "clip_07.avi", ""}) {
        BmpReader reader;
        EXPECT_FALSE(reader.Open(name.empty() ? name : dir.File(name))) << name;
        EXPECT_FALSE(reader.IsOpen()) << name;
        EXPECT_EQ(0, reader.GetNumberOfFrames()) << name;
    }
}

TEST_F(BmpReaderTest, PositionsOutsideTheSequenceAreRefused)
{
    WriteSequenceWithDecoys();
    BmpReader reader;
    ASSERT_TRUE(reader.Open(dir.File("a_1.png")));
    for (std::int64_t bad : {std::int64_t(-1), std::int64_t(3), std::int64_t(1) << 40})
        EXPECT_THROW(reader.GetFrame(bad), std::out_of_range) << bad;
    BmpReader unopened;
    EXPECT_THROW(unopened.GetFrame(0), std::out_of_range);
}

TEST_F(BmpReaderTest, AnUnreadableMemberOrALinkGivesAnEmptyImage)
{
    WriteImage("a_1.png", 10);
    WriteImage("a_4.png", 40);
    WriteImage("picture.png", 20);
    std::ofstream(dir.File("a_2.png")) << "broken";
    ASSERT_EQ(0, ::symlink(dir.File("picture.png").c_str(), dir.File("a_3.png").c_str()));
    BmpReader reader;
    ASSERT_TRUE(reader.Open(dir.File("a_1.png")));
    ASSERT_EQ(4, reader.GetNumberOfFrames());
    EXPECT_TRUE(reader.GetFrame(1).data->image.empty()) << "broken";
    EXPECT_TRUE(reader.GetFrame(2).data->image.empty()) << "link";
    EXPECT_EQ(40, reader.GetFrame(3).data->image.at<cv::Vec3b>(0, 0)[0]);
    BmpReader through_link;
    EXPECT_FALSE(through_link.Open(dir.File("a_3.png")));
}

TEST_F(BmpReaderTest, CloseClearsOnlyTheFlag)
{
    WriteSequenceWithDecoys();
    BmpReader reader;
    ASSERT_TRUE(reader.Open(dir.File("a_1.png")));
    EXPECT_TRUE(reader.Close());
    EXPECT_FALSE(reader.IsOpen());
    EXPECT_EQ(3, reader.GetNumberOfFrames());
}

// Each member is checked and decoded through one open: a FIFO put there in between can
// never hold the reader.
TEST_F(BmpReaderTest, AFifoSwappedOverAMemberNeverBlocks)
{
    WriteImage("a_1.png", 10);
    WriteImage("a_2.png", 20);
    WriteImage("picture.png", 20);
    ASSERT_TRUE(fifofixture::MakeFifo(dir.File("fifo")));
    BmpReader reader;
    ASSERT_TRUE(reader.Open(dir.File("a_1.png")));
    int pictures = 0;
    int empty = 0;
    fifofixture::Swapper swapper(dir.File("picture.png"), dir.File("fifo"), dir.File("a_2.png"));
    EXPECT_TRUE(fifofixture::ReturnsWithoutBlocking(dir.File("fifo"), [&] {
        while (swapper.Swaps() < 20000 / testsupport::kSanitizerSlowdown || pictures == 0 || empty == 0) {
            const cv::Mat image = reader.GetFrame(1).data->image;
            ++(image.empty() ? empty : pictures);
            if (!image.empty()) {
                ASSERT_EQ(20, image.at<cv::Vec3b>(0, 0)[0]);
            }
        }
    }));
}

}  // namespace
