#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include <boost/make_shared.hpp>
#include <opencv2/imgcodecs.hpp>

#include "support/FifoFixture.h"
#include "support/LogCapture.h"
#include "core/ControlAndStatus.h"
#include "elements/ImageReadElement.h"
#include "support/TestSupport.h"

namespace {

class ImageReadElementTest : public ::testing::Test {
protected:
    ImageReadElementTest() : hub(boost::make_shared<ControlAndStatus>()), element(hub)
    {
        element.SetId("Image Read_0");
    }

    void SetPath(const std::string& path) { element.settings.SetValue("_file_path", path, ""); }

    // A small picture at the path; its frames are 3 by 4, grey 90.
    static void WritePicture(const std::string& path)
    {
        ASSERT_TRUE(cv::imwrite(path, cv::Mat(3, 4, CV_8UC1, cv::Scalar(90))));
    }

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

TEST_F(ImageReadElementTest, APictureBehindALinkIsRefused)
{
    const std::string picture = dir.File("picture.png");
    WritePicture(picture);
    const std::string link = dir.File("link.png");
    ASSERT_EQ(0, ::symlink(picture.c_str(), link.c_str()));
    SetPath(link);
    LogCapture log;
    EXPECT_TRUE(element.GetData().data->image.empty());
    EXPECT_TRUE(log.Contains("Image Read_0: Not a regular file: " + link)) << log.Text();
}

// The path is checked and decoded through one open: a FIFO put there in between can
// never hold the connection thread.
TEST_F(ImageReadElementTest, AFifoSwappedOverThePictureNeverBlocks)
{
    const std::string picture = dir.File("picture.png");
    const std::string fifo = dir.File("fifo");
    const std::string target = dir.File("target.png");
    WritePicture(picture);
    ASSERT_TRUE(fifofixture::MakeFifo(fifo));
    ASSERT_EQ(0, ::link(picture.c_str(), target.c_str()));
    SetPath(target);
    int pictures = 0;
    int empty = 0;
    {
        fifofixture::Swapper swapper(picture, fifo, target);
        EXPECT_TRUE(fifofixture::ReturnsWithoutBlocking(fifo, [&] {
            while (swapper.Swaps() < 20000 / testsupport::kSanitizerSlowdown || pictures == 0 || empty == 0) {
                const cv::Mat image = element.GetData().data->image;
                ++(image.empty() ? empty : pictures);
                if (!image.empty()) {
                    ASSERT_EQ(cv::Size(4, 3), image.size());
                }
            }
        }));
    }
    EXPECT_GT(pictures, 0);
}

TEST_F(ImageReadElementTest, WhatCannotBeReadIsReportedOncePerPathWithTheElement)
{
    const std::string picture = dir.File("picture.png");
    WritePicture(picture);
    std::ifstream whole(picture, std::ios::binary);
    const std::string png((std::istreambuf_iterator<char>(whole)), std::istreambuf_iterator<char>());
    const struct {
        std::string name;
        std::string content;
        std::string error;
    } cases[] = {
        {"cut.png", png.substr(0, png.size() / 2), "Could not decode image "},
        {"text.png", "not a picture at all", "Could not decode image "},
        {"empty.png", "", "Could not decode image "},
        {"missing.png", "", "Could not read image "},
    };
    for (const auto& c : cases) {
        const std::string path = dir.File(c.name);
        if (c.name != "missing.png")
            std::ofstream(path, std::ios::binary) << c.content;
        const std::string error = "Image Read_0: " + c.error + path;
        for (int round = 0; round < 2; ++round) {
            LogCapture log;
            SetPath(path);
            for (int i = 0; i < 3; ++i)
                EXPECT_TRUE(element.GetData().data->image.empty()) << c.name;
            const std::string text = log.Text();
            const std::size_t first = text.find(error);
            ASSERT_NE(std::string::npos, first) << c.name << ": " << text;
            EXPECT_EQ(std::string::npos, text.find(error, first + 1)) << c.name << ": one line per path";
            const std::size_t line = text.rfind('\n', first) + 1;
            EXPECT_NE(std::string::npos, text.substr(line, first - line).find("[ERROR]")) << text;
            // Another path in between: the same path is reported again.
            SetPath(picture);
            EXPECT_FALSE(element.GetData().data->image.empty());
        }
    }
}

}  // namespace
