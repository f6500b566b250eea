#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <boost/make_shared.hpp>
#include <opencv2/imgcodecs.hpp>

#include "FifoFixture.h"
#include "support/LogCapture.h"
#include "core/ControlAndStatus.h"
#include "elements/ImageReadElement.h"
#include "support/TestSupport.h"

namespace {

class ImageReadElementTest : public ::testing::Test {
protected:
    ImageReadElementTest() : hub(boost::make_shared<ControlAndStatus>()), element(hub) {}

    void SetPath(const std::string& path) { element.settings.SetValue("_file_path", path, ""); }

    testsupport::ScopedHome home;
    testsupport::TempDir dir;
    boost::shared_ptr<ControlAndStatus> hub;
    ImageReadElement element;
};

TEST_F(ImageReadElementTest, SettingsAndOutputPad)
{
    std::vector<std::string> names;
    for (const auto& pair : element.settings.GetNameValuePairs())
        names.push_back(pair.first);
    const std::vector<std::string> expected = {"_setting_name", "_setting_name", "_position_x",
                                               "_position_y",   "_preview",      "_file_path"};
    EXPECT_EQ(expected, names);
    EXPECT_EQ("type=file_path", element.settings.FindItem("_file_path").descriptor);
    ASSERT_EQ(1u, element.GetOutputs().size());
    EXPECT_EQ("Output 0", element.GetOutputs()[0]->pad_name.Get());
}

TEST_F(ImageReadElementTest, EmptyOrUnreadablePathGivesAnEmptyFrameEveryTime)
{
    for (const std::string& path : {std::string(), dir.File("missing.png")}) {
        SetPath(path);
        for (int i = 0; i < 2; ++i) {
            PassableItem<VideoFrame> item = element.GetData();
            ASSERT_TRUE(item.IsValid()) << path;
            EXPECT_TRUE(item.data->image.empty()) << path;
        }
    }
}

TEST_F(ImageReadElementTest, AFifoOrAFolderGivesEmptyFramesAndOneErrorWithoutBlocking)
{
    const std::string fifo = dir.File("image.png");
    ASSERT_TRUE(fifofixture::MakeFifo(fifo));
    for (const std::string& path : {fifo, dir.Path()}) {
        SetPath(path);
        LogCapture log;
        std::vector<PassableItem<VideoFrame>> items;
        EXPECT_TRUE(fifofixture::ReturnsWithoutBlocking(fifo, [&] {
            for (int i = 0; i < 3; ++i)
                items.push_back(element.GetData());
        })) << path;
        for (const PassableItem<VideoFrame>& item : items)
            EXPECT_TRUE(item.IsValid() && item.data->image.empty()) << path;
        const std::string error = "Not a regular file: " + path;
        const std::string text = log.Text();
        ASSERT_NE(std::string::npos, text.find(error)) << text;
        EXPECT_EQ(std::string::npos, text.find(error, text.find(error) + 1)) << "one error per path";
    }
}

TEST_F(ImageReadElementTest, KeepsTheFilesChannelsAndPicksUpANewPathAtOnce)
{
    cv::Mat rgba(5, 7, CV_8UC4, cv::Scalar(1, 2, 3, 200));
    cv::Mat grey(4, 6, CV_8UC1, cv::Scalar(77));
    ASSERT_TRUE(cv::imwrite(dir.File("rgba.png"), rgba));
    ASSERT_TRUE(cv::imwrite(dir.File("grey.png"), grey));

    SetPath(dir.File("rgba.png"));
    PassableItem<VideoFrame> first = element.GetData();
    EXPECT_EQ(CV_8UC4, first.data->image.type());
    EXPECT_EQ(0.0, cv::norm(first.data->image, rgba, cv::NORM_INF));

    SetPath(dir.File("grey.png"));
    PassableItem<VideoFrame> second = element.GetData();
    EXPECT_EQ(CV_8UC1, second.data->image.type());
    EXPECT_EQ(0.0, cv::norm(second.data->image, grey, cv::NORM_INF));
    // Each frame is its own: the first one was not overwritten by the second read.
    EXPECT_EQ(CV_8UC4, first.data->image.type());
}

}  // namespace
