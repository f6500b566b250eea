#include "core/PassableItem.h"
#include "core/VideoFrame.h"

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

namespace {

TEST(VideoFrameTest, DefaultFrame)
{
    const VideoFrame frame;
    EXPECT_EQ(frame.format.GetWidth(), 0);
    EXPECT_EQ(frame.format.GetHeight(), 0);
    EXPECT_EQ(frame.format.GetChannels(), 1);
    EXPECT_EQ(frame.format.GetBitsPerPixel(), 8);
    EXPECT_EQ(frame.format.GetColourSpace(), VideoFormat::GREY);
    EXPECT_EQ(frame.rate.Get(), -1.0);
    EXPECT_EQ(frame.frame_number, 0);
    EXPECT_EQ(frame.time, 0.0);
    EXPECT_TRUE(frame.image.empty());
    EXPECT_GT(frame.creation_time, 0);
    EXPECT_EQ(VideoFrame::GetTypeName(), "2D Info");
}

VideoFrame HsvFrame()
{
    VideoFrame frame;
    frame.image = cv::Mat(4, 6, CV_8UC3, cv::Scalar(10, 20, 30));
    frame.second_image = cv::Mat(2, 2, CV_8UC1);
    frame.attached_items.emplace_back(boost::make_shared<StructureBase>());
    frame.time = 1.5;
    frame.frame_number = 42;
    frame.tag = 3;
    frame.extra_word = 99;
    frame.SetFormat(VideoFormat(6, 4, 3, 8, VideoFormat::HSV));
    frame.GetFrameRate().Set(25.0);
    return frame;
}

TEST(VideoFrameTest, CloneHasItsOwnPixelsAndKeepsFormatAndRate)
{
    const VideoFrame original = HsvFrame();
    const boost::shared_ptr<VideoFrame> clone = original.Clone();

    EXPECT_NE(clone->image.data, original.image.data);
    EXPECT_EQ(cv::norm(clone->image, original.image, cv::NORM_INF), 0.0);
    EXPECT_EQ(clone->time, 1.5);
    EXPECT_EQ(clone->frame_number, 42);
    EXPECT_EQ(clone->tag, 3);
    EXPECT_EQ(clone->extra_word, 99u);
    EXPECT_TRUE(clone->second_image.empty());
    EXPECT_TRUE(clone->attached_items.empty());
    EXPECT_GE(clone->creation_time, original.creation_time);

    EXPECT_EQ(clone->format.GetColourSpace(), VideoFormat::HSV);
    EXPECT_EQ(clone->format.GetWidth(), 6);
    EXPECT_EQ(clone->format.GetChannels(), 3);
    EXPECT_EQ(clone->rate.Get(), 25.0);

    // A synchronised clone is still HSV, not taken for BGR.
    EXPECT_EQ(clone->UpdateFormatFromMat().GetColourSpace(), VideoFormat::HSV);
}

TEST(VideoFrameTest, DeepCopiedItemIsIndependent)
{
    PassableItem<VideoFrame> item(boost::make_shared<VideoFrame>(HsvFrame()));
    PassableItem<VideoFrame> shared = item;
    PassableItem<VideoFrame> deep = item.DeepCopy();
    item.data->image.setTo(cv::Scalar(0, 0, 0));
    EXPECT_EQ(shared.data->image.at<cv::Vec3b>(0, 0), cv::Vec3b(0, 0, 0));
    EXPECT_EQ(deep.data->image.at<cv::Vec3b>(0, 0), cv::Vec3b(10, 20, 30));
    EXPECT_EQ(deep.data->format.GetColourSpace(), VideoFormat::HSV);
}

TEST(VideoFrameTest, FormatSynchronisation)
{
    struct Case {
        int type;
        VideoFormat::ColourSpace before;
        VideoFormat::ColourSpace after;
    };
    const Case cases[] = {
        {CV_8UC1, VideoFormat::BGR, VideoFormat::GREY},    {CV_8UC1, VideoFormat::HSV, VideoFormat::GREY},
        {CV_8UC3, VideoFormat::GREY, VideoFormat::BGR},    {CV_8UC3, VideoFormat::UNSET, VideoFormat::BGR},
        {CV_8UC3, VideoFormat::HSV, VideoFormat::HSV},     {CV_8UC3, VideoFormat::RGB, VideoFormat::RGB},
        {CV_8UC3, VideoFormat::YCrCb, VideoFormat::YCrCb}, {CV_8UC4, VideoFormat::RGB, VideoFormat::RGB},
        {CV_8UC2, VideoFormat::GREY, VideoFormat::GREY},
    };
    for (const Case& c : cases) {
        VideoFrame frame;
        frame.image = cv::Mat(5, 8, c.type);
        frame.format.SetColourSpace(c.before);
        const VideoFormat& format = frame.UpdateFormatFromMat();
        EXPECT_EQ(&format, &frame.format);
        EXPECT_EQ(format.GetWidth(), 8);
        EXPECT_EQ(format.GetHeight(), 5);
        EXPECT_EQ(format.GetChannels(), CV_MAT_CN(c.type));
        EXPECT_EQ(format.GetColourSpace(), c.after) << "type " << c.type << " from " << c.before;
    }
}

}  // namespace
