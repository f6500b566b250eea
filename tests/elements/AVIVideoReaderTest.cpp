#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <boost/make_shared.hpp>
#include <opencv2/videoio.hpp>

#include "FakeVideoCapture.h"
#include "VideoFixtures.h"
#include "elements/AVIVideoReader.h"
#include "support/TestSupport.h"

namespace {

using videofixtures::WriteLosslessVideo;

bool SameImage(const cv::Mat& a, const cv::Mat& b)
{
    return a.size() == b.size() && a.type() == b.type() && cv::norm(a, b, cv::NORM_INF) == 0.0;
}

class AVIVideoReaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        frames = WriteLosslessVideo(path, 6, 12.5);
        ASSERT_EQ(6u, frames.size()) << "this OpenCV build cannot write FFV1";
    }

    testsupport::TempDir dir;
    const std::string path = dir.File("clip.avi");
    std::vector<cv::Mat> frames;
};

TEST_F(AVIVideoReaderTest, PlaysEveryFrameExactlyWithTheFileRate)
{
    AVIVideoReader reader;
    ASSERT_TRUE(reader.Open(path));
    EXPECT_TRUE(reader.IsOpen());
    ASSERT_EQ(6, reader.GetNumberOfFrames());
    for (int i = 0; i < 6; ++i) {
        PassableItem<VideoFrame> item = reader.GetFrame(i);
        EXPECT_TRUE(SameImage(frames[i], item.data->image)) << "frame " << i;
        EXPECT_DOUBLE_EQ(12.5, item.data->rate.Get());
    }
}

TEST_F(AVIVideoReaderTest, SeeksToAnyFrameInAnyOrder)
{
    AVIVideoReader reader;
    ASSERT_TRUE(reader.Open(path));
    for (int i : {1, 4, 2, 3, 0, 5, 5, 0})
        EXPECT_TRUE(SameImage(frames[i], reader.GetFrame(i).data->image)) << "frame " << i;
}

TEST_F(AVIVideoReaderTest, PositionsOutsideTheFileAreRefused)
{
    AVIVideoReader reader;
    ASSERT_TRUE(reader.Open(path));
    for (std::int64_t bad : {std::int64_t(-1), std::int64_t(6), std::int64_t(1) << 40})
        EXPECT_THROW(reader.GetFrame(bad), std::out_of_range) << bad;
    EXPECT_TRUE(SameImage(frames[2], reader.GetFrame(2).data->image));
}

TEST_F(AVIVideoReaderTest, CloseReleasesTheFile)
{
    AVIVideoReader reader;
    ASSERT_TRUE(reader.Open(path));
    EXPECT_TRUE(reader.Close());
    EXPECT_FALSE(reader.IsOpen());
    EXPECT_EQ(0, reader.GetNumberOfFrames());
    EXPECT_THROW(reader.GetFrame(0), std::out_of_range);
}

// The containers and codecs this machine writes; FFV1 at least, which reads back exactly.
TEST(AVIVideoReaderFiles, AVideoOfOneFrameShowsItEveryTime)
{
    testsupport::TempDir dir;
    const struct {
        const char* file;
        const char* codec;
    } cases[] = {{"ffv1.avi", "FFV1"}, {"mjpg.avi", "MJPG"}, {"avc1.mp4", "avc1"}, {"mp4v.mp4", "mp4v"}};
    int written = 0;
    for (const auto& c : cases) {
        const std::vector<cv::Mat> frames = videofixtures::WriteVideo(dir.File(c.file), c.codec, 1, 25.0);
        if (frames.empty())
            continue;
        ++written;
        AVIVideoReader reader;
        ASSERT_TRUE(reader.Open(dir.File(c.file))) << c.file;
        ASSERT_EQ(1, reader.GetNumberOfFrames()) << c.file;
        for (int i = 0; i < 3; ++i) {
            const cv::Mat image = reader.GetFrame(0).data->image;
            ASSERT_EQ(cv::Size(32, 24), image.size()) << c.file << " read " << i;
            if (std::string(c.codec) == "FFV1") {
                EXPECT_TRUE(SameImage(frames[0], image)) << "read " << i;
            }
        }
    }
    EXPECT_GE(written, 1) << "this OpenCV build writes none of the codecs";
}

TEST(AVIVideoReaderFiles, WhatDoesNotDecodeDoesNotOpen)
{
    testsupport::TempDir dir;
    std::ofstream(dir.File("junk.avi")) << "no video in here";
    for (const std::string& path : {dir.File("junk.avi"), dir.File("missing.avi")}) {
        AVIVideoReader reader;
        EXPECT_FALSE(reader.Open(path)) << path;
        EXPECT_EQ(0, reader.GetNumberOfFrames()) << path;
    }
}

TEST(AVIVideoReaderCounts, ImplausibleFrameCountsCountAsNone)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double reported;
        std::int64_t expected;
    };
    for (const Case& c : std::vector<Case>{{5.0, 5},
                                           {0.0, 0},
                                           {-1.0, 0},
                                           {-9e18, 0},
                                           {nan, 0},
                                           {inf, 0},
                                           {-inf, 0},
                                           {9.2e18, 0},
                                           {1e300, 0}}) {
        auto capture = boost::make_shared<FakeVideoCapture>();
        capture->frames.assign(6, cv::Mat(2, 2, CV_8UC3, cv::Scalar(1, 2, 3)));
        capture->properties[cv::CAP_PROP_FRAME_COUNT] = c.reported;
        AVIVideoReader reader(capture);
        ASSERT_TRUE(reader.Open("fake.avi"));
        EXPECT_EQ(c.expected, reader.GetNumberOfFrames()) << c.reported;
        if (c.expected == 0) {
            EXPECT_THROW(reader.GetFrame(0), std::out_of_range) << c.reported;
        }
    }
}

// Frames whose pixels are their numbers, 25 a second.
boost::shared_ptr<FakeVideoCapture> NumberedCapture(int count = 5)
{
    auto capture = boost::make_shared<FakeVideoCapture>();
    for (int i = 0; i < count; ++i)
        capture->frames.push_back(cv::Mat(2, 2, CV_8UC1, cv::Scalar(i)));
    capture->properties[cv::CAP_PROP_FRAME_COUNT] = count;
    capture->properties[cv::CAP_PROP_FPS] = 25;
    return capture;
}

int Pixel(const PassableItem<VideoFrame>& item)
{
    return item.data->image.empty() ? -1 : item.data->image.at<uchar>(0, 0);
}

TEST(AVIVideoReaderCounts, ReadsOnWithoutSeekingAndSeeksOtherwise)
{
    auto capture = NumberedCapture();
    AVIVideoReader reader(capture);
    ASSERT_TRUE(reader.Open("fake.avi"));  // decodes frame 0
    for (int i : {0, 1, 2, 0, 4, 1, 2})
        EXPECT_EQ(i, Pixel(reader.GetFrame(i)));
    // Frame 0 came from the open both times; the capture stood at 3 when 4 was asked for.
    const std::vector<std::pair<int, double>> seeks = {{cv::CAP_PROP_POS_FRAMES, 4.0},
                                                       {cv::CAP_PROP_POS_FRAMES, 1.0}};
    EXPECT_EQ(seeks, capture->set_calls);
    EXPECT_EQ(6, capture->reads);
}

// Files of one frame cannot seek back to it: the frame decoded at the open is the one shown.
TEST(AVIVideoReaderCounts, AFileOfOneFramePlaysItWithoutSeeking)
{
    auto capture = NumberedCapture(1);
    capture->seek_breaks_reads = true;
    AVIVideoReader reader(capture);
    ASSERT_TRUE(reader.Open("fake.mp4"));
    for (int i = 0; i < 3; ++i) {
        PassableItem<VideoFrame> item = reader.GetFrame(0);
        EXPECT_EQ(0, Pixel(item)) << i;
        EXPECT_DOUBLE_EQ(25.0, item.data->rate.Get());
    }
    EXPECT_TRUE(capture->set_calls.empty());
    EXPECT_EQ(1, capture->reads);
}

// Frames are changed in place downstream; the kept frame 0 must not be.
TEST(AVIVideoReaderCounts, EachFrameZeroIsACopyOfItsOwn)
{
    AVIVideoReader reader(NumberedCapture());
    ASSERT_TRUE(reader.Open("fake.avi"));
    reader.GetFrame(0).data->image.setTo(99);
    EXPECT_EQ(0, Pixel(reader.GetFrame(0)));
}

// A failed seek or read gives an empty frame, never another frame than the one asked for.
TEST(AVIVideoReaderCounts, FramesThatCannotBeReachedComeEmpty)
{
    auto breaks = NumberedCapture();
    breaks->seek_breaks_reads = true;
    AVIVideoReader after_seek(breaks);
    ASSERT_TRUE(after_seek.Open("fake.avi"));
    std::vector<int> pixels;
    for (int i : {0, 1, 2, 0, 4, 1, 0})
        pixels.push_back(Pixel(after_seek.GetFrame(i)));
    EXPECT_EQ((std::vector<int>{0, 1, 2, 0, -1, -1, 0}), pixels);

    auto refuses = NumberedCapture();
    refuses->seek_fails = true;
    AVIVideoReader no_seek(refuses);
    ASSERT_TRUE(no_seek.Open("fake.avi"));
    EXPECT_EQ(-1, Pixel(no_seek.GetFrame(3)));
    EXPECT_EQ(1, refuses->reads) << "read on where the seek did not go";
    EXPECT_EQ(0, Pixel(no_seek.GetFrame(0)));
}

TEST(AVIVideoReaderCounts, OpenNeedsAReadableFirstFrame)
{
    auto capture = boost::make_shared<FakeVideoCapture>();
    AVIVideoReader reader(capture);
    EXPECT_FALSE(reader.Open("fake.avi"));  // opens, but no first frame
    EXPECT_EQ(1, capture->reads);
    capture->opens = false;
    capture->frames.push_back(cv::Mat(2, 2, CV_8UC1));
    EXPECT_FALSE(reader.Open("fake.avi"));
    EXPECT_EQ(1, capture->reads);
}

}  // namespace
