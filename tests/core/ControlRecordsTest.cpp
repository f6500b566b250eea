#include "core/MainDisplayControls.h"
#include "core/SubImageControls.h"
#include "support/LogCapture.h"
#include "support/TestSupport.h"
#include "ThreadSleepProbe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

TEST(ControlRecordsTest, NewSubImageBoxIsAHundredSquareAtAHundred)
{
    SubImageControls controls;
    EXPECT_EQ(controls.box.Get(), cv::Rect(100, 100, 100, 100));
    EXPECT_EQ(controls.image_size.Get(), cv::Size(0, 0));
    ASSERT_TRUE(controls.image_pipe);
    EXPECT_FALSE(controls.image_pipe->Pop().IsValid());
    EXPECT_EQ(controls.settings.GetItems().back().name, "_box");
}

TEST(ControlRecordsTest, AspectRatioFollowsTheLastFrame)
{
    MainDisplayControls controls;
    EXPECT_DOUBLE_EQ(controls.GetAspectRatio(), 640.0 / 480.0);
    controls.PushFrame(cv::Mat(720, 1280, CV_8UC3, cv::Scalar(1, 2, 3)));
    EXPECT_DOUBLE_EQ(controls.GetAspectRatio(), 1280.0 / 720.0);
}

TEST(ControlRecordsTest, PushedFrameIsRescaledToTheDisplaySize)
{
    MainDisplayControls controls;
    controls.SetDisplaySize(64, 32);
    EXPECT_FALSE(controls.HasImage());
    controls.PushFrame(cv::Mat(100, 200, CV_8UC3, cv::Scalar(10, 20, 30)));
    ASSERT_TRUE(controls.HasImage());
    const PassableItem<QImage> item = controls.PopImage();
    ASSERT_TRUE(item.IsValid());
    EXPECT_EQ(item.data->size(), QSize(64, 32));
    EXPECT_EQ(item.data->pixel(10, 10), qRgb(30, 20, 10));
    EXPECT_FALSE(controls.HasImage());
}

// A camera or a file may give 16-bit or four-channel frames: the display shows them.
TEST(ControlRecordsTest, DeepAndAlphaFramesAreShown)
{
    const struct {
        cv::Mat frame;
        QRgb pixel;
    } cases[] = {
        {cv::Mat(10, 10, CV_16UC1, cv::Scalar(100 * 257)), qRgb(100, 100, 100)},
        {cv::Mat(10, 10, CV_16UC3, cv::Scalar(0, 257, 65535)), qRgb(255, 1, 0)},
        {cv::Mat(10, 10, CV_8UC4, cv::Scalar(10, 20, 30, 0)), qRgb(30, 20, 10)},
    };
    for (const auto& c : cases) {
        MainDisplayControls controls;
        controls.SetDisplaySize(8, 8);
        controls.PushFrame(c.frame);
        const PassableItem<QImage> item = controls.PopImage();
        ASSERT_TRUE(item.IsValid());
        EXPECT_EQ(item.data->pixel(4, 4), c.pixel) << cv::typeToString(c.frame.type());
    }
}

TEST(ControlRecordsTest, UnconvertibleFrameIsPushedAsANullImageAndNamedOnce)
{
    MainDisplayControls controls;
    LogCapture log;
    for (int i = 0; i < 3; ++i) {
        controls.PushFrame(cv::Mat(10, 10, CV_16SC1, cv::Scalar(5)));
        const PassableItem<QImage> item = controls.PopImage();
        ASSERT_TRUE(item.IsValid());
        EXPECT_TRUE(item.data->isNull());
    }
    const std::vector<std::string> messages = log.Messages();
    EXPECT_EQ(
        std::count(messages.begin(), messages.end(), "Main display cannot show frames of type CV_16SC1"), 1);
}

TEST(ControlRecordsTest, DisplaySizeIsKeptAtLeastOneByOne)
{
    MainDisplayControls controls;
    controls.SetDisplaySize(0, -5);
    EXPECT_NO_THROW(controls.PushFrame(cv::Mat(10, 10, CV_8UC1, cv::Scalar(7))));
    EXPECT_EQ(controls.PopImage().data->size(), QSize(1, 1));
}

TEST(ControlRecordsTest, SecondPushWaitsForThePop)
{
    MainDisplayControls controls;
    controls.PushFrame(cv::Mat(10, 10, CV_8UC1, cv::Scalar(1)));
    std::atomic<bool> second_pushed{false};
    std::atomic<pid_t> pusher_id{0};
    std::thread pusher([&] {
        pusher_id = CurrentThreadId();
        controls.PushFrame(cv::Mat(10, 10, CV_8UC1, cv::Scalar(2)));
        second_pushed = true;
    });
    // The pusher goes to sleep in the queue, and stays there until the pop below.
    ASSERT_TRUE(testsupport::WaitFor([&] { return pusher_id.load() != 0 && IsAsleep(pusher_id.load()); }));
    EXPECT_FALSE(second_pushed.load());
    EXPECT_TRUE(controls.HasImage());
    EXPECT_EQ(qRed(controls.PopImage().data->pixel(0, 0)), 1);
    ASSERT_TRUE(testsupport::WaitFor([&] { return second_pushed.load(); }));
    pusher.join();
    EXPECT_EQ(qRed(controls.PopImage().data->pixel(0, 0)), 2);
}

TEST(ControlRecordsTest, AspectRatioOfAnEmptyFrameIsOne)
{
    MainDisplayControls controls;
    EXPECT_THROW(controls.PushFrame(cv::Mat()), cv::Exception);
    EXPECT_DOUBLE_EQ(controls.GetAspectRatio(), 1.0);
    EXPECT_FALSE(controls.HasImage());
}

// Saved geometry holds NUL bytes; its text must carry them through a settings value.
TEST(ControlRecordsTest, WindowGeometrySurvivesItsTextForm)
{
    const QByteArray geometry("\x01\xd9\xd0\xcb\x00\x03\x00\x00\x00\x00\xff", 11);
    MainDisplayControls first;
    first.SetWindowGeometry(geometry);
    const std::string text = first.settings.GetValueAsString("_windows_geometry");
    EXPECT_EQ(text.find('\0'), std::string::npos);

    MainDisplayControls second;
    second.settings.SetValue("_windows_geometry", text, "");
    EXPECT_EQ(second.GetWindowGeometry(), geometry);
}

TEST(ControlRecordsTest, UnreadableGeometryTextGivesNoGeometry)
{
    MainDisplayControls controls;
    EXPECT_TRUE(controls.GetWindowGeometry().isEmpty());
    controls.settings.SetValue("_windows_geometry", "not base64 !", "");
    EXPECT_TRUE(controls.GetWindowGeometry().isEmpty());
}
