// "Main Display": frames passed through its pads on the test thread, or on one thread of its
// own where the display window's pacing is the point; the test plays the window.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include <QImage>
#include <boost/any.hpp>
#include <boost/make_shared.hpp>

#include "core/ControlAndStatus.h"
#include "core/MainDisplayControls.h"
#include "elements/MainDisplayElement.h"
#include "support/FrameMaker.h"
#include "support/PadHarness.h"
#include "support/TestSupport.h"

using testsupport::WaitFor;

namespace {

PassableItem<VideoFrame> MakeFrame(cv::Size size, cv::Scalar colour)
{
    return testsupport::MakeFrame(cv::Mat(size, CV_8UC3, colour));
}

boost::shared_ptr<MainDisplayControls> ControlsOf(MainDisplayElement& element)
{
    return *boost::any_cast<boost::shared_ptr<MainDisplayControls>*>(
        element.settings.FindItem("_controls").value);
}

class MainDisplayElementTest : public ::testing::Test {
protected:
    boost::shared_ptr<ControlAndStatus> hub = boost::make_shared<ControlAndStatus>();
};

TEST_F(MainDisplayElementTest, ControlsSettingCarriesTheRecordWhileTheElementLives)
{
    boost::shared_ptr<MainDisplayControls> record;
    {
        MainDisplayElement element{hub};
        const ParameterItem item = element.settings.GetItems().back();
        EXPECT_EQ("_controls", item.name);
        EXPECT_EQ("", item.descriptor);
        record = ControlsOf(element);
        ASSERT_TRUE(record);
        EXPECT_TRUE(record->element_alive.Get());
    }
    // The window still holds the record and sees that it should close.
    EXPECT_FALSE(record->element_alive.Get());
}

TEST_F(MainDisplayElementTest, FrameIsQueuedRescaledToTheDisplaySizeAndPassesUnchanged)
{
    MainDisplayElement element{hub};
    testsupport::PadHarness<> pads(element);
    boost::shared_ptr<MainDisplayControls> record = ControlsOf(element);
    const struct {
        int width;
        int height;
    } displays[] = {{320, 180}, {100, 200}};
    for (const auto& d : displays) {
        record->SetDisplaySize(d.width, d.height);
        PassableItem<VideoFrame> frame = MakeFrame(cv::Size(1280, 720), cv::Scalar(255, 0, 0));
        EXPECT_EQ(frame.data, pads.Pass(frame).data);
        EXPECT_EQ(cv::Vec3b(255, 0, 0), frame.data->image.at<cv::Vec3b>(0, 0));
        EXPECT_EQ(cv::Size(1280, 720), frame.data->image.size());

        ASSERT_TRUE(record->HasImage());
        const PassableItem<QImage> shown = record->PopImage();
        ASSERT_TRUE(shown.IsValid());
        EXPECT_EQ(d.width, shown.data->width());
        EXPECT_EQ(d.height, shown.data->height());
        EXPECT_EQ(qRgb(0, 0, 255), shown.data->pixel(d.width / 2, d.height / 2));
        EXPECT_DOUBLE_EQ(1280.0 / 720.0, record->GetAspectRatio());
    }
}

// The element waits while the window has not taken the previous image.
TEST_F(MainDisplayElementTest, TheWindowPacesTheStream)
{
    MainDisplayElement element{hub};
    testsupport::PadHarness<> pads(element);
    boost::shared_ptr<MainDisplayControls> record = ControlsOf(element);
    std::atomic<int> processed{0};
    std::thread stream([&] {
        for (int i = 0; i < 2; ++i) {
            pads.Pass(MakeFrame(cv::Size(64, 48), cv::Scalar(i, i, i)));
            ++processed;
        }
    });
    ASSERT_TRUE(WaitFor([&] { return processed.load() == 1 && record->HasImage(); }));
    EXPECT_EQ(1, processed.load());
    record->PopImage();
    ASSERT_TRUE(WaitFor([&] { return processed.load() == 2; }));
    stream.join();
    EXPECT_TRUE(record->HasImage());
    record->PopImage();
}

}  // namespace
