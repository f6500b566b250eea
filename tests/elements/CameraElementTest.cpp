#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include <boost/make_shared.hpp>
#include <opencv2/videoio.hpp>

#include "FakeVideoCapture.h"
#include "core/CameraControls.h"
#include "core/ControlAndStatus.h"
#include "core/CustomException.h"
#include "elements/CameraElement.h"
#include "support/TestSupport.h"

namespace {

class CameraElementTest : public ::testing::Test {
protected:
    CameraElementTest()
        : hub(boost::make_shared<ControlAndStatus>()), capture(boost::make_shared<FakeVideoCapture>())
    {
        capture->properties = {{cv::CAP_PROP_BRIGHTNESS, 0.5},   {cv::CAP_PROP_CONTRAST, -0.85},
                               {cv::CAP_PROP_HUE, -1.0},         {cv::CAP_PROP_GAIN, 0.0},
                               {cv::CAP_PROP_SATURATION, -0.95}, {cv::CAP_PROP_EXPOSURE, 3.0},
                               {cv::CAP_PROP_FPS, 30.0}};
        for (int i = 0; i < 50; ++i)
            capture->frames.push_back(cv::Mat(3, 4, CV_8UC3, cv::Scalar(i, 0, 0)));
    }

    boost::shared_ptr<CameraElement> MakeCamera() { return boost::make_shared<CameraElement>(hub, capture); }

    std::vector<std::string> SettingNames(CameraElement& camera)
    {
        std::vector<std::string> names;
        for (const auto& pair : camera.settings.GetNameValuePairs())
            names.push_back(pair.first);
        return names;
    }

    testsupport::ScopedHome home;
    boost::shared_ptr<ControlAndStatus> hub;
    boost::shared_ptr<FakeVideoCapture> capture;
};

TEST_F(CameraElementTest, NoCameraFailsConstructionAndReleasesTheCapture)
{
    capture->opens = false;
    try {
        MakeCamera();
        FAIL() << "a camera was made without a camera";
    } catch (const CustomException& error) {
        EXPECT_STREQ("Camera cannot be loaded", error.what());
    }
    EXPECT_EQ(0, capture->opened_device);
    EXPECT_EQ(1, capture->releases);
}

TEST_F(CameraElementTest, RealCameraAbsentOnThisMachineFailsWithItsMessage)
{
    struct stat info;
    if (stat("/dev/video0", &info) == 0)
        GTEST_SKIP() << "this machine has a camera";
    EXPECT_THROW(
        {
            try {
                CameraElement camera(hub);
            } catch (const CustomException& error) {
                EXPECT_STREQ("Camera cannot be loaded", error.what());
                throw;
            }
        },
        CustomException);
}

TEST_F(CameraElementTest, AnsweredPropertiesBecomeSettingsInTableOrder)
{
    auto camera = MakeCamera();
    // Hue (-1), Saturation (-0.95) and Mode (not answered) count as absent; -0.85 does not.
    const std::vector<std::string> expected = {
        "_setting_name", "_setting_name", "_position_x", "_position_y", "_preview",
        "Brightness",    "Contrast",      "Gain",        "Exposure",    "FPS"};
    EXPECT_EQ(expected, SettingNames(*camera));
    EXPECT_DOUBLE_EQ(0.5, std::stod(camera->settings.GetValueAsString("Brightness")));
    EXPECT_DOUBLE_EQ(-0.85, std::stod(camera->settings.GetValueAsString("Contrast")));
    EXPECT_EQ("other=no-limits", camera->settings.FindItem("Gain").descriptor);
    ASSERT_EQ(1u, camera->GetOutputs().size());
    EXPECT_EQ("Video Out", camera->GetOutputs()[0]->pad_name.Get());
    EXPECT_EQ("2D Info", camera->GetOutputs()[0]->GetTypeName());
}

TEST_F(CameraElementTest, PropertiesReachTheCameraOnceBeforeTheFirstFrameAndAfterEachChange)
{
    auto camera = MakeCamera();
    const std::vector<std::pair<int, double>> initial = {{cv::CAP_PROP_BRIGHTNESS, 0.5},
                                                         {cv::CAP_PROP_CONTRAST, -0.85},
                                                         {cv::CAP_PROP_GAIN, 0.0},
                                                         {cv::CAP_PROP_EXPOSURE, 3.0},
                                                         {cv::CAP_PROP_FPS, 30.0}};
    camera->GetData();
    EXPECT_EQ(initial, capture->set_calls);

    capture->set_calls.clear();
    camera->GetData();
    EXPECT_TRUE(capture->set_calls.empty());

    camera->settings.SetValue("Gain", "2.5", "");
    camera->settings_changed_flag.Set(true);
    camera->GetData();
    std::vector<std::pair<int, double>> changed = initial;
    changed[2].second = 2.5;
    EXPECT_EQ(changed, capture->set_calls);
}

TEST_F(CameraElementTest, AChangeMadeWhilePropertiesAreAppliedReachesTheCameraNextFrame)
{
    auto camera = MakeCamera();
    camera->GetData();
    camera->settings.SetValue("Gain", "2.5", "");
    camera->settings_changed_flag.Set(true);
    // The editor changes the exposure while the camera takes the gain.
    capture->on_set = [&] {
        capture->on_set = nullptr;
        camera->settings.SetValue("Exposure", "7", "");
        camera->settings_changed_flag.Set(true);
    };
    camera->GetData();
    capture->set_calls.clear();
    camera->GetData();
    const std::pair<int, double> exposure(cv::CAP_PROP_EXPOSURE, 7.0);
    EXPECT_NE(capture->set_calls.end(),
              std::find(capture->set_calls.begin(), capture->set_calls.end(), exposure))
        << "the exposure change was lost";
}

TEST_F(CameraElementTest, FramesAreNumberedFormattedAndCounted)
{
    auto camera = MakeCamera();
    auto controls = hub->GetSharedControl<CameraControls>("");
    for (int i = 0; i < 3; ++i) {
        PassableItem<VideoFrame> item = camera->GetData();
        ASSERT_TRUE(item.IsValid());
        EXPECT_EQ(i, item.data->frame_number);
        EXPECT_EQ(i, item.data->image.at<cv::Vec3b>(0, 0)[0]);
        EXPECT_EQ(4, item.data->format.GetWidth());
        EXPECT_EQ(3, item.data->format.GetHeight());
        EXPECT_EQ(3, item.data->format.GetChannels());
        EXPECT_EQ(VideoFormat::BGR, item.data->format.GetColourSpace());
        EXPECT_EQ(i + 1, controls->frame_count.Get());
    }
}

TEST_F(CameraElementTest, ResetRestartsFrameTimesButNotFrameNumbers)
{
    auto camera = MakeCamera();
    capture->frames.resize(1);  // further reads give empty images, without failing
    PassableItem<VideoFrame> item;
    ASSERT_TRUE(testsupport::WaitFor([&] {
        item = camera->GetData();
        return item.data->time > 0.05;
    }));
    const std::int64_t before = item.data->frame_number;
    camera->Reset();
    PassableItem<VideoFrame> after = camera->GetData();
    EXPECT_LT(after.data->time, 0.05);
    EXPECT_EQ(before + 1, after.data->frame_number);
    EXPECT_TRUE(after.data->image.empty());
}

TEST_F(CameraElementTest, OneSecondTickPublishesFramesOfTheLastSecond)
{
    auto camera = MakeCamera();
    auto controls = hub->GetSharedControl<CameraControls>("");
    for (int i = 0; i < 3; ++i)
        camera->GetData();
    hub->tick_signal();
    EXPECT_DOUBLE_EQ(3.0, controls->frame_rate.Get());
    for (int i = 0; i < 2; ++i)
        camera->GetData();
    hub->tick_signal();
    EXPECT_DOUBLE_EQ(2.0, controls->frame_rate.Get());
    hub->tick_signal();
    EXPECT_DOUBLE_EQ(0.0, controls->frame_rate.Get());
}

}  // namespace
