#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <boost/any.hpp>
#include <boost/make_shared.hpp>
#include <boost/thread/lock_guard.hpp>
#include <boost/thread/mutex.hpp>
#include <opencv2/imgcodecs.hpp>

#include "FakeVideoCapture.h"
#include "VideoFixtures.h"
#include "support/FifoFixture.h"
#include "support/LogCapture.h"
#include "core/CameraControls.h"
#include "core/ControlAndStatus.h"
#include "core/CustomException.h"
#include "core/FrameNumber.h"
#include "elements/VideoReaderElement.h"
#include "engine/ConnectionManager.h"
#include "engine/ElementInput.h"
#include "support/TestSupport.h"

namespace {

using videofixtures::MatBytes;
using videofixtures::RawHeader;
using videofixtures::RawSetting;
using videofixtures::WriteLosslessVideo;
using videofixtures::WriteRawFile;

// Notes the first pixel of every frame it receives, on the connection's thread.
class PixelRecorder : public ElementInput<VideoFrame> {
public:
    using ElementInput<VideoFrame>::ElementInput;

    void ConsumeData(PassableItem<VideoFrame> item) override
    {
        boost::lock_guard<boost::mutex> lock(mutex_);
        pixels_.push_back(item.data->image.at<cv::Vec3b>(0, 0)[0]);
    }

    std::vector<int> Pixels()
    {
        boost::lock_guard<boost::mutex> lock(mutex_);
        return pixels_;
    }

private:
    boost::mutex mutex_;  // guards pixels_
    std::vector<int> pixels_;
};

std::vector<std::string> LinesWith(const std::string& text, const std::string& part)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        if (line.find(part) != std::string::npos)
            lines.push_back(line);
    return lines;
}

class VideoReaderElementTest : public ::testing::Test {
protected:
    VideoReaderElementTest()
        : hub(boost::make_shared<ControlAndStatus>()), element(hub),
          position(*boost::any_cast<FrameNumber*>(element.settings.FindItem("_frame_number").value))
    {
    }

    void SetPath(const std::string& path) { element.settings.SetValue("_file_path", path, ""); }

    // The output pad's reset, as the connection runs it before the pipeline starts.
    void ResetPad() { static_cast<Source<VideoFrame>&>(element).Reset(); }

    int FirstPixel(const PassableItem<VideoFrame>& item)
    {
        const cv::Mat& image = item.data->image;
        return image.channels() == 1 ? image.at<uchar>(0, 0) : image.at<cv::Vec3b>(0, 0)[0];
    }

    void WriteSequence()
    {
        for (int n : {1, 2, 10})
            ASSERT_TRUE(cv::imwrite(dir.File("a_" + std::to_string(n) + ".png"),
                                    cv::Mat(4, 5, CV_8UC1, cv::Scalar(n))));
        ASSERT_TRUE(cv::imwrite(dir.File("a_x.png"), cv::Mat(4, 5, CV_8UC1, cv::Scalar(99))));
        ASSERT_TRUE(cv::imwrite(dir.File("b_3.png"), cv::Mat(4, 5, CV_8UC1, cv::Scalar(98))));
    }

    testsupport::ScopedHome home;
    testsupport::TempDir dir;
    boost::shared_ptr<ControlAndStatus> hub;
    VideoReaderElement element;
    FrameNumber& position;
};

TEST_F(VideoReaderElementTest, SettingsAndOutputPad)
{
    std::vector<std::string> names;
    std::vector<std::string> descriptors;
    for (const ParameterItem& item : element.settings.GetItems()) {
        names.push_back(item.name);
        descriptors.push_back(item.descriptor);
    }
    const std::vector<std::string> expected_names = {"_setting_name", "_setting_name", "_position_x",
                                                     "_position_y",   "_preview",      "_file_path",
                                                     "_frame_number", "_pause"};
    EXPECT_EQ(expected_names, names);
    EXPECT_EQ("type=file_path", descriptors[5]);
    EXPECT_EQ("", descriptors[6]);
    EXPECT_EQ("", descriptors[7]);
    ASSERT_EQ(1u, element.GetOutputs().size());
    EXPECT_EQ("output", element.GetOutputs()[0]->pad_name.Get());
}

TEST_F(VideoReaderElementTest, ASequencePlaysInNumericOrderAndLoops)
{
    WriteSequence();
    SetPath(dir.File("a_2.png"));
    ResetPad();
    EXPECT_EQ(3, position.GetFrameCount());
    const std::vector<int> expected = {1, 2, 10, 1, 2, 10, 1};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        PassableItem<VideoFrame> item = element.MakeData();
        EXPECT_EQ(expected[i], FirstPixel(item)) << i;
        EXPECT_EQ(static_cast<std::int64_t>(i % 3), item.data->frame_number);
        EXPECT_EQ(3, item.data->format.GetChannels());
        EXPECT_EQ(VideoFormat::BGR, item.data->format.GetColourSpace());
        EXPECT_DOUBLE_EQ(-1.0, item.data->rate.Get());
    }
}

TEST_F(VideoReaderElementTest, AVideoPlaysExactlyWithItsRateAndFollowsThePosition)
{
    const std::vector<cv::Mat> frames = WriteLosslessVideo(dir.File("clip.avi"), 5, 10.0);
    ASSERT_EQ(5u, frames.size());
    SetPath(dir.File("clip.avi"));
    ResetPad();
    ASSERT_EQ(5, position.GetFrameCount());
    for (int i = 0; i < 2; ++i) {
        PassableItem<VideoFrame> item = element.MakeData();
        EXPECT_EQ(0.0, cv::norm(item.data->image, frames[i], cv::NORM_INF)) << i;
        EXPECT_DOUBLE_EQ(10.0, item.data->rate.Get());
        EXPECT_EQ(32, item.data->format.GetWidth());
    }
    position.SetFrame(4);
    PassableItem<VideoFrame> last = element.MakeData();
    EXPECT_EQ(4, last.data->frame_number);
    EXPECT_EQ(0.0, cv::norm(last.data->image, frames[4], cv::NORM_INF));
    EXPECT_EQ(0, element.MakeData().data->frame_number);
}

TEST_F(VideoReaderElementTest, AVideoOfOneFramePlaysItOnEveryPass)
{
    const std::vector<cv::Mat> frames = WriteLosslessVideo(dir.File("still.avi"), 1, 25.0);
    ASSERT_EQ(1u, frames.size());
    SetPath(dir.File("still.avi"));
    ResetPad();
    auto controls = hub->GetSharedControl<CameraControls>("");
    for (int i = 0; i < 4; ++i) {
        PassableItem<VideoFrame> item = element.MakeData();
        EXPECT_EQ(0, item.data->frame_number);
        ASSERT_FALSE(item.data->image.empty()) << "pass " << i;
        EXPECT_EQ(0.0, cv::norm(item.data->image, frames[0], cv::NORM_INF)) << "pass " << i;
    }
    hub->tick_signal();
    EXPECT_DOUBLE_EQ(4.0, controls->frame_rate.Get());
}

// Each pass is one turn of the connection: a frame, or a refusal that makes the connection
// back off. A refusal costs one read, and "Frames / s" counts only frames.
TEST_F(VideoReaderElementTest, AFileWhoseReadsFailAfterASeekGivesNoEmptyFrameAndOneError)
{
    auto capture = boost::make_shared<FakeVideoCapture>();
    for (int i = 0; i < 3; ++i)
        capture->frames.push_back(cv::Mat(2, 2, CV_8UC3, cv::Scalar::all(i)));
    capture->properties[cv::CAP_PROP_FRAME_COUNT] = 3;
    capture->seek_breaks_reads = true;
    // A hub of its own: the fixture's element writes "Frames / s" on the fixture's hub.
    auto own_hub = boost::make_shared<ControlAndStatus>();
    VideoReaderElement scripted(own_hub, [capture] { return capture; });
    scripted.SetId("Video Read_0");
    const std::string path = dir.File("clip.mp4");
    scripted.settings.SetValue("_file_path", path, "");
    static_cast<Source<VideoFrame>&>(scripted).Reset();

    LogCapture log;
    std::vector<int> turns;  // the frame's pixel, or -1 for a refusal
    for (int turn = 0; turn < 12; ++turn) {
        try {
            PassableItem<VideoFrame> item = scripted.MakeData();
            ASSERT_FALSE(item.data->image.empty()) << "turn " << turn;
            turns.push_back(item.data->image.at<cv::Vec3b>(0, 0)[0]);
        } catch (const std::runtime_error& error) {
            EXPECT_STREQ("Could not read frame", error.what());
            turns.push_back(-1);
        }
    }
    // Frame 0 was decoded at the open; 1 and 2 cannot be reached again once play loops.
    EXPECT_EQ((std::vector<int>{0, 1, 2, 0, -1, -1, 0, -1, -1, 0, -1, -1}), turns);
    EXPECT_EQ(1 + 2 + 6, capture->reads);
    const std::vector<std::string> lines = LinesWith(log.Text(), "Could not read frame");
    ASSERT_EQ(1u, lines.size()) << log.Text();
    EXPECT_NE(std::string::npos, lines[0].find("[ERROR]")) << lines[0];
    EXPECT_NE(std::string::npos, lines[0].find("Video Read_0: Could not read frame from " + path))
        << lines[0];
    own_hub->tick_signal();
    EXPECT_DOUBLE_EQ(6.0, own_hub->GetSharedControl<CameraControls>("")->frame_rate.Get());
}

// Some containers do not tell their length; no frame of them can be asked for.
TEST_F(VideoReaderElementTest, AVideoThatTellsNoFrameCountIsOneError)
{
    auto capture = boost::make_shared<FakeVideoCapture>();
    capture->frames.assign(2, cv::Mat(2, 2, CV_8UC3, cv::Scalar::all(1)));
    VideoReaderElement scripted(hub, [capture] { return capture; });
    scripted.SetId("Video Read_0");
    const std::string path = dir.File("stream.webm");
    scripted.settings.SetValue("_file_path", path, "");
    LogCapture log;
    for (int turn = 0; turn < 3; ++turn)
        EXPECT_THROW(scripted.MakeData(), std::runtime_error);
    const std::vector<std::string> lines = LinesWith(log.Text(), "Could not read frame");
    ASSERT_EQ(1u, lines.size()) << log.Text();
    EXPECT_NE(std::string::npos, lines[0].find("Video Read_0: Could not read frame from " + path))
        << lines[0];
}

TEST_F(VideoReaderElementTest, AnUnreadableImageOfASequenceIsRefusedNotPassedOnEmpty)
{
    WriteSequence();
    std::ofstream(dir.File("a_2.png"), std::ios::trunc) << "no longer a picture";
    SetPath(dir.File("a_1.png"));
    ResetPad();
    EXPECT_EQ(1, FirstPixel(element.MakeData()));
    EXPECT_THROW(element.MakeData(), std::runtime_error);
    EXPECT_EQ(10, FirstPixel(element.MakeData()));
}

TEST_F(VideoReaderElementTest, ANumberedVideoFileIsAVideoNotASequence)
{
    const std::vector<cv::Mat> frames = WriteLosslessVideo(dir.File("clip_07.avi"), 3, 25.0);
    ASSERT_EQ(3u, WriteLosslessVideo(dir.File("clip_08.avi"), 3, 25.0).size());
    ASSERT_EQ(3u, frames.size());
    SetPath(dir.File("clip_07.avi"));
    ResetPad();
    EXPECT_EQ(3, position.GetFrameCount());
    PassableItem<VideoFrame> item = element.MakeData();
    EXPECT_EQ(0.0, cv::norm(item.data->image, frames[0], cv::NORM_INF));
    EXPECT_DOUBLE_EQ(25.0, item.data->rate.Get());
}

TEST_F(VideoReaderElementTest, ARawFilePlaysWithTheFormatOfItsImages)
{
    cv::Mat grey(2, 3, CV_8UC1, cv::Scalar(40));
    const std::string header = RawHeader(RawSetting("_width", "3") + RawSetting("_height", "2") +
                                         RawSetting("_channels", "1") + RawSetting("_type", "RGB"));
    WriteRawFile(dir.File("movie.raw"), header, MatBytes(grey) + MatBytes(grey + 1));
    SetPath(dir.File("movie.raw"));
    ResetPad();
    EXPECT_EQ(2, position.GetFrameCount());
    PassableItem<VideoFrame> first = element.MakeData();
    PassableItem<VideoFrame> second = element.MakeData();
    EXPECT_EQ(40, FirstPixel(first));
    EXPECT_EQ(41, FirstPixel(second));
    EXPECT_EQ(VideoFormat::GREY, second.data->format.GetColourSpace());
    EXPECT_EQ(1, second.data->frame_number);
}

TEST_F(VideoReaderElementTest, ANewPathSwitchesReadersOnTheNextFrameKeepingThePosition)
{
    WriteSequence();
    const std::vector<cv::Mat> frames = WriteLosslessVideo(dir.File("clip.avi"), 5, 10.0);
    ASSERT_EQ(5u, frames.size());
    SetPath(dir.File("clip.avi"));
    ResetPad();
    element.MakeData();
    element.MakeData();
    SetPath(dir.File("a_1.png"));
    PassableItem<VideoFrame> item = element.MakeData();  // no reset in between
    EXPECT_EQ(2, item.data->frame_number);
    EXPECT_EQ(10, FirstPixel(item));
    EXPECT_EQ(3, position.GetFrameCount());
}

TEST_F(VideoReaderElementTest, APositionBeyondTheFileIsRefusedOnceThenPlayWraps)
{
    WriteSequence();
    SetPath(dir.File("a_1.png"));
    ResetPad();
    position.SetFrame(7);
    EXPECT_THROW(element.MakeData(), std::out_of_range);
    PassableItem<VideoFrame> item = element.MakeData();
    EXPECT_EQ(0, item.data->frame_number);
    EXPECT_EQ(1, FirstPixel(item));
}

TEST_F(VideoReaderElementTest, WithoutAReadableFileEveryFrameFails)
{
    for (const std::string& path : {std::string(), dir.File("missing.avi")}) {
        SetPath(path);
        for (int i = 0; i < 2; ++i) {
            try {
                element.MakeData();
                ADD_FAILURE() << "a frame came from nothing: " << path;
            } catch (const std::runtime_error& error) {
                EXPECT_STREQ("Could not read frame", error.what()) << path;
            }
        }
        EXPECT_EQ(0, position.GetFrameCount()) << path;
    }
}

// Twice a second the connection asks again; the log hears of it once per path.
TEST_F(VideoReaderElementTest, WithoutAUsableFileOneErrorNamesTheElementAndThePath)
{
    WriteSequence();
    element.SetId("Video Read_0");
    std::ofstream(dir.File("notes.avi")) << "not a video";
    for (const char* name : {"missing.avi", "notes.avi"}) {
        const std::string path = dir.File(name);
        const std::string error = "Video Read_0: Could not read frame from " + path;
        for (int round = 0; round < 2; ++round) {
            LogCapture log;
            SetPath(path);
            for (int i = 0; i < 3; ++i)
                EXPECT_THROW(element.MakeData(), std::runtime_error) << name;
            const std::vector<std::string> lines = LinesWith(log.Text(), "Could not read frame");
            ASSERT_EQ(1u, lines.size()) << name << ": " << log.Text();
            EXPECT_NE(std::string::npos, lines[0].find("[ERROR]")) << lines[0];
            EXPECT_NE(std::string::npos, lines[0].find(error)) << lines[0];
            // Another path in between: the same path is reported again.
            SetPath(dir.File("a_1.png"));
            element.MakeData();
        }
    }
    // No file chosen yet is no fault to report.
    LogCapture log;
    SetPath("");
    EXPECT_THROW(element.MakeData(), std::runtime_error);
    EXPECT_FALSE(log.Contains("Could not read frame")) << log.Text();
}

// Named like a sequence member and a video, so every reader is asked about it.
TEST_F(VideoReaderElementTest, AFifoIsRefusedByEveryReaderWithoutBlocking)
{
    for (const char* name : {"clip_1.png", "clip.avi", "clip.raw"}) {
        const std::string fifo = dir.File(name);
        ASSERT_TRUE(fifofixture::MakeFifo(fifo));
        SetPath(fifo);
        LogCapture log;
        bool refused = false;
        EXPECT_TRUE(fifofixture::ReturnsWithoutBlocking(fifo, [&] {
            try {
                element.MakeData();
            } catch (const std::runtime_error&) {
                refused = true;
            }
        })) << name;
        EXPECT_TRUE(refused) << name;
        EXPECT_TRUE(log.Contains("[ERROR]")) << name;
        EXPECT_TRUE(log.Contains("Not a regular file: " + fifo)) << name << ": " << log.Text();
    }
}

TEST_F(VideoReaderElementTest, PausedPositionRepeatsTheSameFrame)
{
    WriteSequence();
    SetPath(dir.File("a_1.png"));
    ResetPad();
    position.SetPaused(true);
    EXPECT_EQ(1, FirstPixel(element.MakeData()));
    EXPECT_EQ(1, FirstPixel(element.MakeData()));
    position.SetPaused(false);
    element.MakeData();
    EXPECT_EQ(2, FirstPixel(element.MakeData()));
}

TEST_F(VideoReaderElementTest, OneSecondTickPublishesFramesOfTheLastSecond)
{
    WriteSequence();
    SetPath(dir.File("a_1.png"));
    ResetPad();
    auto controls = hub->GetSharedControl<CameraControls>("");
    for (int i = 0; i < 4; ++i)
        element.MakeData();
    hub->tick_signal();
    EXPECT_DOUBLE_EQ(4.0, controls->frame_rate.Get());
    element.MakeData();
    hub->tick_signal();
    EXPECT_DOUBLE_EQ(1.0, controls->frame_rate.Get());
}

TEST_F(VideoReaderElementTest, PlaysInARunningPipeline)
{
    WriteSequence();
    // Elements of a pipeline are owned by shared pointers; this one lives in the fixture.
    boost::shared_ptr<VideoReaderElement> reader(&element, [](VideoReaderElement*) {});
    auto recorder = boost::make_shared<PixelRecorder>(hub);
    reader->SetId("reader");
    recorder->SetId("recorder");
    SetPath(dir.File("a_10.png"));
    ConnectionManager manager(hub);
    bool connected = false;
    manager.Connect(reader->GetOutputByName("output"), recorder->GetInputByName("input"), &connected, reader,
                    recorder);
    ASSERT_TRUE(connected);
    manager.StartAll();
    ASSERT_TRUE(testsupport::WaitFor([&] { return recorder->Pixels().size() >= 7; }));
    manager.StopAll();
    const std::vector<int> played = recorder->Pixels();
    const std::vector<int> expected = {1, 2, 10, 1, 2, 10, 1};
    EXPECT_EQ(expected, std::vector<int>(played.begin(), played.begin() + 7));
}

}  // namespace
