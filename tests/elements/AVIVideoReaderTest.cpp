#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <stdexcept>
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

TEST(AVIVideoReaderCounts, ReadsOnWithoutSeekingAndSeeksOtherwise)
{
    auto capture = boost::make_shared<FakeVideoCapture>();
    for (int i = 0; i < 5; ++i)
        capture->frames.push_back(cv::Mat(2, 2, CV_8UC1, cv::Scalar(i)));
    capture->properties[cv::CAP_PROP_FRAME_COUNT] = 5;
    capture->properties[cv::CAP_PROP_FPS] = 25;
    AVIVideoReader reader(capture);
    ASSERT_TRUE(reader.Open("fake.avi"));  // consumes frame 0
    EXPECT_EQ(1, reader.GetFrame(1).data->image.at<uchar>(0, 0));
    EXPECT_EQ(2, reader.GetFrame(2).data->image.at<uchar>(0, 0));
    EXPECT_TRUE(capture->set_calls.empty());
    EXPECT_EQ(0, reader.GetFrame(0).data->image.at<uchar>(0, 0));
    const std::vector<std::pair<int, double>> seek = {{cv::CAP_PROP_POS_FRAMES, 0.0}};
    EXPECT_EQ(seek, capture->set_calls);
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
