#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "VideoFixtures.h"
#include "support/FifoFixture.h"
#include "support/LogCapture.h"
#include "core/CustomException.h"
#include "elements/RawImageReader.h"
#include "support/TestSupport.h"

namespace {

using videofixtures::MatBytes;
using videofixtures::NumberedFrame;
using videofixtures::RawHeader;
using videofixtures::RawSetting;
using videofixtures::WriteRawFile;

std::string Header(int width, int height, int channels, const std::string& type = "BGR")
{
    return RawHeader(RawSetting("_width", std::to_string(width)) +
                     RawSetting("_height", std::to_string(height)) +
                     RawSetting("_channels", std::to_string(channels)) + RawSetting("_bits_per_pixel", "8") +
                     RawSetting("_type", type));
}

void ExpectUnopened(RawImageReader& reader, const std::string& what)
{
    EXPECT_FALSE(reader.IsOpen()) << what;
    EXPECT_EQ(0, reader.GetNumberOfFrames()) << what;
    try {
        reader.GetFrame(0);
        ADD_FAILURE() << what << ": a frame came from an unopened reader";
    } catch (const CustomException& error) {
        EXPECT_STREQ("Could not read frame", error.what()) << what;
    }
}

// Root may open any file whatever its mode; without this capability, on this thread
// only, a file's mode binds root too.
bool DropFileAccessOverrideOnThisThread()
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2] = {};
    if (syscall(SYS_capget, &header, data) != 0)
        return false;
    data[0].effective &= ~(1u << CAP_DAC_OVERRIDE);
    return syscall(SYS_capset, &header, data) == 0;
}

// The access mode of this process's descriptor open on the file; -1 when none is.
int OpenModeOf(const std::string& path)
{
    for (int descriptor = 0; descriptor < 1024; ++descriptor) {
        char target[4096] = {};
        const std::string link = "/proc/self/fd/" + std::to_string(descriptor);
        const ssize_t length = readlink(link.c_str(), target, sizeof(target) - 1);
        if (length > 0 && path == std::string(target, static_cast<std::size_t>(length)))
            return fcntl(descriptor, F_GETFL) & O_ACCMODE;
    }
    return -1;
}

class RawImageReaderTest : public ::testing::Test {
protected:
    testsupport::TempDir dir;
    const std::string path = dir.File("video.raw");
};

TEST_F(RawImageReaderTest, CountsWholeFramesAndReadsEachAtItsOffset)
{
    const cv::Mat first = NumberedFrame(1, 640, 480);
    const cv::Mat second = NumberedFrame(2, 640, 480);
    WriteRawFile(path, Header(640, 480, 3), MatBytes(first) + MatBytes(second) + std::string(100, '\x7f'));
    RawImageReader reader;
    ASSERT_TRUE(reader.Open(path));
    EXPECT_TRUE(reader.IsOpen());
    EXPECT_EQ(2, reader.GetNumberOfFrames());
    for (int k : {1, 0, 1}) {
        const cv::Mat image = reader.GetFrame(k).data->image;
        ASSERT_EQ(CV_8UC3, image.type());
        EXPECT_EQ(0.0, cv::norm(image, k == 0 ? first : second, cv::NORM_INF)) << k;
    }
    EXPECT_THROW(reader.GetFrame(2), std::out_of_range);
    EXPECT_THROW(reader.GetFrame(-1), std::out_of_range);
}

TEST_F(RawImageReaderTest, AHeaderWithoutChannelsReadsGreyFrames)
{
    cv::Mat grey(3, 5, CV_8UC1);
    for (int i = 0; i < 15; ++i)
        grey.data[i] = static_cast<uchar>(i * 11);
    WriteRawFile(path, RawHeader(RawSetting("_width", "5") + RawSetting("_height", "3")), MatBytes(grey));
    RawImageReader reader;
    ASSERT_TRUE(reader.Open(path));
    ASSERT_EQ(1, reader.GetNumberOfFrames());
    const cv::Mat image = reader.GetFrame(0).data->image;
    ASSERT_EQ(CV_8UC1, image.type());
    EXPECT_EQ(0.0, cv::norm(image, grey, cv::NORM_INF));
}

TEST_F(RawImageReaderTest, AHeaderFillingAllItsBytesIsReadToItsEnd)
{
    std::string header = Header(2, 2, 1);
    header.resize(1024, ' ');  // no NUL anywhere in the header
    const std::string pixels = "\x01\x02\x03\x04";
    std::ofstream(path, std::ios::binary) << header << pixels;
    RawImageReader reader;
    ASSERT_TRUE(reader.Open(path));
    EXPECT_EQ(4, reader.GetFrame(0).data->image.at<uchar>(1, 1));
}

TEST_F(RawImageReaderTest, HostileHeadersAreRefused)
{
    const std::string frame(3 * 4 * 3, '\x10');
    struct Case {
        std::string what;
        std::string header;
    };
    const std::vector<Case> cases = {
        {"empty header", ""},
        {"not xml", "width=4 height=3"},
        {"another root", "<Other><Setting name=\"_width\" value=\"4\" /></Other>"},
        {"cut-off document", Header(4, 3, 3).substr(0, 60)},
        {"no size", RawHeader(RawSetting("_channels", "3"))},
        {"width 0", Header(0, 3, 3)},
        {"height -3", Header(4, -3, 3)},
        {"width 65536", Header(65536, 3, 3)},
        {"height 2^31-1", Header(4, 2147483647, 3)},
        {"width not a number", RawHeader(RawSetting("_width", "wide") + RawSetting("_height", "3"))},
        {"two channels", Header(4, 3, 2)},
        {"four channels", Header(4, 3, 4)},
        {"zero channels", Header(4, 3, 0)},
        {"negative channels", Header(4, 3, -3)},
        {"16 bits", RawHeader(RawSetting("_width", "4") + RawSetting("_height", "3") +
                              RawSetting("_channels", "3") + RawSetting("_bits_per_pixel", "16"))},
        {"0 bits", RawHeader(RawSetting("_width", "4") + RawSetting("_height", "3") +
                             RawSetting("_bits_per_pixel", "0"))},
        {"nested loader", RawHeader(RawSetting("_width", "4") + RawSetting("_height", "3") +
                                    "<Loader name=\"_width\"></Loader>")},
        {"nested unknown loader", RawHeader("<Loader name=\"nothing\"></Loader>")},
    };
    for (const Case& c : cases) {
        WriteRawFile(path, c.header, frame);
        RawImageReader reader;
        EXPECT_FALSE(reader.Open(path)) << c.what;
        ExpectUnopened(reader, c.what);
    }
}

TEST_F(RawImageReaderTest, ShortFilesAndMissingFilesAreRefused)
{
    RawImageReader reader;
    for (const std::string& content : {std::string(), Header(4, 3, 1).substr(0, 100), Header(4, 3, 1)}) {
        std::ofstream(path, std::ios::binary) << content;
        EXPECT_FALSE(reader.Open(path)) << content.size();
        ExpectUnopened(reader, "short file");
    }
    EXPECT_FALSE(reader.Open(dir.File("missing.raw")));
    ExpectUnopened(reader, "missing file");
    EXPECT_FALSE(reader.Open(""));
    ExpectUnopened(reader, "empty path");
}

// Each is refused with its own error before any frame is made.
TEST_F(RawImageReaderTest, HeadersWhoseFramesAreHugeOrDoNotFitTheFileAreRefused)
{
    const struct {
        const char* what;
        std::string header;
        std::size_t payload;
        const char* error;
    } cases[] = {
        {"65535 x 65535 x 3", Header(65535, 65535, 3), 64, "is larger than 268435456 bytes"},
        {"just over 256 MiB", Header(9363, 9557, 3), 64, "is larger than 268435456 bytes"},
        {"header only", Header(4, 3, 3), 0, "does not hold one whole frame of 36 bytes"},
        {"part of a frame", Header(4, 3, 3), 35, "does not hold one whole frame of 36 bytes"},
    };
    for (const auto& c : cases) {
        WriteRawFile(path, c.header, std::string(c.payload, '\x01'));
        LogCapture log;
        RawImageReader reader;
        EXPECT_FALSE(reader.Open(path)) << c.what;
        ExpectUnopened(reader, c.what);
        EXPECT_TRUE(log.Contains("[ERROR]")) << c.what;
        EXPECT_TRUE(log.Contains(c.error)) << c.what << ": " << log.Text();
    }
    // The largest frame allowed still plays.
    WriteRawFile(path, Header(8192, 10922, 3), "");
    ASSERT_EQ(0, truncate(path.c_str(), 1024 + 8192LL * 10922 * 3));
    RawImageReader reader;
    EXPECT_TRUE(reader.Open(path));
    EXPECT_EQ(1, reader.GetNumberOfFrames());
}

TEST_F(RawImageReaderTest, AShortHeaderIsAnErrorReadingTheFileWithoutAnErrnoText)
{
    std::ofstream(path, std::ios::binary) << std::string(100, ' ');
    LogCapture log;
    testing::internal::CaptureStderr();
    RawImageReader reader;
    EXPECT_FALSE(reader.Open(path));
    const std::string standard_error = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(log.Contains("[ERROR]")) << log.Text();
    EXPECT_TRUE(log.Contains("Error reading in file " + path + ": 100 of 1024 bytes of the header"))
        << log.Text();
    EXPECT_EQ(std::string::npos, standard_error.find("this error")) << standard_error;
}

// A file cut short while open reads short: the frame shows what could be read.
TEST_F(RawImageReaderTest, AFrameCutShortIsAnErrorReadingTheFile)
{
    WriteRawFile(path, Header(4, 3, 1), std::string(12, '\x05') + std::string(12, '\x06'));
    RawImageReader reader;
    ASSERT_TRUE(reader.Open(path));
    ASSERT_EQ(0, truncate(path.c_str(), 1024 + 12 + 5));
    LogCapture log;
    const cv::Mat image = reader.GetFrame(1).data->image;
    EXPECT_TRUE(log.Contains("[ERROR]")) << log.Text();
    EXPECT_TRUE(log.Contains("Error reading in file " + path + ": 5 of 12 bytes of frame 1")) << log.Text();
    ASSERT_EQ(12u, image.total());
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(i < 5 ? 6 : 0, image.data[i]) << i;
}

// Opening a FIFO for reading would wait for a writer for ever.
TEST_F(RawImageReaderTest, AFifoIsRefusedWithoutWaiting)
{
    ASSERT_TRUE(fifofixture::MakeFifo(path));
    LogCapture log;
    RawImageReader reader;
    bool opened = true;
    EXPECT_TRUE(fifofixture::ReturnsWithoutBlocking(path, [&] { opened = reader.Open(path); }));
    EXPECT_FALSE(opened);
    ExpectUnopened(reader, "fifo");
    EXPECT_TRUE(log.Contains("Not a regular file: " + path)) << log.Text();
    RawImageReader folder_reader;
    EXPECT_FALSE(folder_reader.Open(dir.Path()));
}

// As the picture readers: a link could point the reader anywhere.
TEST_F(RawImageReaderTest, ALinkIsRefused)
{
    WriteRawFile(path, Header(4, 2, 1), std::string(8, '\x10'));
    const std::string link = dir.File("link.raw");
    ASSERT_EQ(0, ::symlink(path.c_str(), link.c_str()));
    LogCapture log;
    RawImageReader reader;
    EXPECT_FALSE(reader.Open(link));
    ExpectUnopened(reader, "link");
    EXPECT_TRUE(log.Contains("Not a regular file: " + link)) << log.Text();
}

TEST_F(RawImageReaderTest, ReopeningSwitchesFilesAndCloseEndsReading)
{
    const std::string other = dir.File("other.raw");
    WriteRawFile(path, Header(2, 1, 1), "\x05\x06\x07\x08");
    WriteRawFile(other, Header(1, 1, 1), "\x09");
    RawImageReader reader;
    ASSERT_TRUE(reader.Open(path));
    EXPECT_EQ(2, reader.GetNumberOfFrames());
    ASSERT_TRUE(reader.Open(other));
    EXPECT_EQ(1, reader.GetNumberOfFrames());
    EXPECT_EQ(9, reader.GetFrame(0).data->image.at<uchar>(0, 0));
    EXPECT_TRUE(reader.Close());
    ExpectUnopened(reader, "closed");
    EXPECT_TRUE(reader.Close());
}

TEST_F(RawImageReaderTest, FramesBeyondTwoGigabytesAreReached)
{
    // A sparse file of 1000 frames of 3 MB; frame 900 starts past 2^31 and is the only
    // one with data.
    const int side = 1000;
    const std::int64_t frame_size = 3LL * side * side;
    const std::int64_t frame_offset = 1024 + 900 * frame_size;
    ASSERT_GT(frame_offset, (1LL << 31));
    WriteRawFile(path, Header(side, side, 3), "");
    const cv::Mat marked = NumberedFrame(9, side, side);
    const std::string bytes = MatBytes(marked);
    const int fd = ::open(path.c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(static_cast<ssize_t>(bytes.size()), pwrite(fd, bytes.data(), bytes.size(), frame_offset));
    ASSERT_EQ(0, ftruncate(fd, 1024 + 1000 * frame_size));
    ::close(fd);

    RawImageReader reader;
    ASSERT_TRUE(reader.Open(path));
    EXPECT_EQ(1000, reader.GetNumberOfFrames());
    EXPECT_EQ(0.0, cv::norm(reader.GetFrame(900).data->image, marked, cv::NORM_INF));
    EXPECT_EQ(0.0, cv::norm(reader.GetFrame(901).data->image, cv::NORM_INF));
}

TEST_F(RawImageReaderTest, AReadOnlyFilePlays)
{
    WriteRawFile(path, Header(2, 1, 1), "\x05\x06");
    ASSERT_EQ(0, chmod(path.c_str(), 0444));
    std::thread reading([&] {
        ASSERT_TRUE(DropFileAccessOverrideOnThisThread());
        std::FILE* writable = std::fopen(path.c_str(), "rb+");
        ASSERT_EQ(nullptr, writable) << "the file is still writable for this thread";
        RawImageReader reader;
        ASSERT_TRUE(reader.Open(path));
        EXPECT_EQ(O_RDONLY, OpenModeOf(path));
        EXPECT_EQ(6, reader.GetFrame(0).data->image.at<uchar>(0, 1));
    });
    reading.join();
}

}  // namespace
