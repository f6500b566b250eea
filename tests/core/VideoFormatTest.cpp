#include "core/VideoFormat.h"

#include <cstdint>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

namespace {

TEST(VideoFormatTest, DefaultsAndRecordName)
{
    VideoFormat format;
    EXPECT_EQ(format.GetWidth(), 0);
    EXPECT_EQ(format.GetHeight(), 0);
    EXPECT_EQ(format.GetChannels(), 1);
    EXPECT_EQ(format.GetBitsPerPixel(), 8);
    EXPECT_EQ(format.GetColourSpace(), VideoFormat::GREY);
    EXPECT_EQ(format.name, "Video Format");
    EXPECT_EQ(VideoFormat::GetHeaderSize(), 1024);
}

TEST(VideoFormatTest, SettingsInRegistrationOrder)
{
    VideoFormat format;
    std::vector<std::string> names;
    for (const auto& item : format.settings.GetItems())
        names.push_back(item.name);
    const std::vector<std::string> expected = {"_setting_name", "_setting_name",   "_width", "_height",
                                               "_channels",     "_bits_per_pixel", "_type"};
    EXPECT_EQ(names, expected);
}

TEST(VideoFormatTest, FrameSizesAndCounts)
{
    struct Case {
        int width, height, channels, bits;
        std::int64_t bytes;
        std::int64_t frame_size;
        std::int64_t frame_count;
    };
    const std::int64_t max = std::numeric_limits<std::int64_t>::max();
    const std::vector<Case> cases = {
        {640, 480, 3, 8, 921600LL * 10 + 5, 921600, 10},
        {640, 480, 1, 12, 614400LL * 3, 614400, 3},
        {640, 480, 1, 16, 100, 614400, 0},
        {4000, 4000, 4, 64, 512000000LL * 2 + 1, 512000000, 2},
        // Larger than 32 bits: counted in 64.
        {40000, 40000, 4, 32, 25600000000LL * 3, 25600000000LL, 3},
        // Zero or negative frame sizes count no frames.
        {0, 0, 1, 8, 1000, 0, 0},
        {640, 0, 3, 8, 1000, 0, 0},
        {640, 480, 3, 0, 1000, 0, 0},
        {-640, 480, 3, 8, 1000, -921600, 0},
        {640, 480, 3, 8, -921600, 921600, 0},
        // Products beyond 64 bits are held at the limit, not wrapped.
        {2147483647, 2147483647, 2147483647, 2147483647, max, max, 1},
        {2147483647, 2147483647, 2147483647, 64, 1000, max, 0},
        {65536, 65536, 65536, 65536 * 8, 1000, max, 0},
    };
    for (const Case& c : cases) {
        const VideoFormat format(c.width, c.height, c.channels, c.bits, VideoFormat::BGR);
        EXPECT_EQ(format.GetFrameSize(), c.frame_size)
            << c.width << "x" << c.height << "x" << c.channels << " " << c.bits;
        EXPECT_EQ(format.GetFrameCount(c.bytes), c.frame_count)
            << c.width << "x" << c.height << "x" << c.channels << " " << c.bits;
    }
}

TEST(VideoFormatTest, FromImageTakesSizeAndGuessesColourSpace)
{
    struct Case {
        int type;
        VideoFormat::ColourSpace space;
    };
    for (const Case& c : {Case{CV_8UC1, VideoFormat::GREY}, Case{CV_8UC3, VideoFormat::BGR},
                          Case{CV_8UC4, VideoFormat::UNSET}, Case{CV_16UC2, VideoFormat::UNSET},
                          Case{CV_32FC3, VideoFormat::BGR}}) {
        const VideoFormat format(cv::Mat(7, 9, c.type));
        EXPECT_EQ(format.GetWidth(), 9);
        EXPECT_EQ(format.GetHeight(), 7);
        EXPECT_EQ(format.GetChannels(), CV_MAT_CN(c.type));
        EXPECT_EQ(format.GetBitsPerPixel(), 8);
        EXPECT_EQ(format.GetColourSpace(), c.space) << c.type;
    }
}

TEST(VideoFormatTest, CopiesAreIndependentRecords)
{
    const VideoFormat original(320, 240, 3, 16, VideoFormat::HSV);
    VideoFormat copy(original);
    EXPECT_EQ(copy.GetWidth(), 320);
    EXPECT_EQ(copy.GetBitsPerPixel(), 16);
    EXPECT_EQ(copy.GetColourSpace(), VideoFormat::HSV);
    // The copy's settings point at the copy's fields.
    copy.settings.SetValue("_width", "100", "");
    EXPECT_EQ(copy.GetWidth(), 100);
    EXPECT_EQ(original.GetWidth(), 320);

    VideoFormat assigned;
    assigned.name = "kept";
    assigned = original;
    EXPECT_EQ(assigned.GetHeight(), 240);
    EXPECT_EQ(assigned.GetChannels(), 3);
    EXPECT_EQ(assigned.GetColourSpace(), VideoFormat::HSV);
    EXPECT_EQ(assigned.name, "kept");
}

TEST(VideoFormatTest, MakeMatIgnoresBitDepth)
{
    const struct {
        int channels, bits, type;
    } cases[] = {{1, 8, CV_8UC1}, {1, 16, CV_8UC1}, {3, 8, CV_8UC3}, {4, 8, CV_8UC3}, {2, 32, CV_8UC3}};
    for (const auto& c : cases) {
        const cv::Mat image = VideoFormat(11, 5, c.channels, c.bits, VideoFormat::BGR).MakeMat();
        EXPECT_EQ(image.cols, 11);
        EXPECT_EQ(image.rows, 5);
        EXPECT_EQ(image.type(), c.type) << c.channels;
    }
}

TEST(VideoFormatTest, ReadsAHeaderInTheControlTextForm)
{
    VideoFormat format;
    format.FromString("<?xml version=\"1.0\"?>\n<Loader>\n"
                      "\t<Setting name=\"_setting_name\" value=\"Video Format\" />\n"
                      "\t<Setting name=\"_width\" value=\"640\" />\n"
                      "\t<Setting name=\"_height\" value=\"480\" />\n"
                      "\t<Setting name=\"_channels\" value=\"3\" />\n"
                      "\t<Setting name=\"_bits_per_pixel\" value=\"16\" />\n"
                      "</Loader>\n");
    EXPECT_EQ(format.GetWidth(), 640);
    EXPECT_EQ(format.GetHeight(), 480);
    EXPECT_EQ(format.GetChannels(), 3);
    EXPECT_EQ(format.GetBitsPerPixel(), 16);
    EXPECT_EQ(format.GetFrameSize(), 1843200);
    EXPECT_EQ(format.GetFrameCount(1843200LL * 4), 4);
}

TEST(VideoFormatTest, CraftedHeaderGivesNoFrames)
{
    VideoFormat format;
    format.FromString("<?xml version=\"1.0\"?>\n<Loader>\n"
                      "\t<Setting name=\"_width\" value=\"0\" />\n"
                      "\t<Setting name=\"_height\" value=\"480\" />\n"
                      "</Loader>\n");
    EXPECT_EQ(format.GetWidth(), 0);
    EXPECT_EQ(format.GetHeight(), 480);
    EXPECT_EQ(format.GetFrameCount(1 << 20), 0);
}

}  // namespace
