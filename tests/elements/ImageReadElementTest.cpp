#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <boost/make_shared.hpp>
#include <opencv2/imgcodecs.hpp>

#include "core/ControlAndStatus.h"
#include "elements/ImageReadElement.h"
#include "support/TestSupport.h"

namespace {

class ImageReadElementTest : public ::testing::Test
{
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
