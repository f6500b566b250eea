// "Snap Shot": presses and frames through its pads on the test thread; files land in a
// temporary per-user folder or a TempDir.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include <filesystem>
#include <boost/make_shared.hpp>
#include <opencv2/imgcodecs.hpp>

#include "core/ControlAndStatus.h"
#include "elements/SnapShotElement.h"
#include "support/FifoFixture.h"
#include "support/FrameMaker.h"
#include "support/LogCapture.h"
#include "support/PadHarness.h"
#include "support/TestSupport.h"

namespace {

PassableItem<VideoFrame> MakeFrame(int value = 80)
{
    return testsupport::MakeFrame(cv::Mat(12, 16, CV_8UC3, cv::Scalar(value, value, value)));
}

std::vector<std::string> FilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class SnapShotElementTest : public ::testing::Test {
protected:
    void Set(const std::string& name, const std::string& value)
    {
        element.settings.SetValue(name, value, "");
    }

    // One press, then one frame.
    void Shoot(int value = 80)
    {
        element.TakeImage();
        pads.Pass(MakeFrame(value));
    }

    testsupport::ScopedHome home;
    testsupport::TempDir folder;
    boost::shared_ptr<ControlAndStatus> hub = boost::make_shared<ControlAndStatus>();
    SnapShotElement element{hub};
    testsupport::PadHarness<> pads{element};
};

TEST_F(SnapShotElementTest, SettingsButtonAndDefaults)
{
    const std::vector<ParameterItem> items = element.settings.GetItems();
    ASSERT_GE(items.size(), 4u);
    const struct {
        const char* name;
        const char* descriptor;
    } expected[] = {{"_directory", "type=dir_path"},
                    {"_file_name", "type=edit"},
                    {"_image_format", "items=[Bitmap][JPEG][PNG]"},
                    {"_auto_number", ""}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(expected[i].name, items[items.size() - 4 + i].name);
        EXPECT_EQ(expected[i].descriptor, items[items.size() - 4 + i].descriptor);
    }
    EXPECT_EQ(home.Path() + "/orvane/images/", element.settings.GetValueAsString("_directory"));
    EXPECT_EQ("hippopotamus", element.settings.GetValueAsString("_file_name"));
    EXPECT_EQ("0", element.settings.GetValueAsString("_image_format"));
    EXPECT_EQ("0", element.settings.GetValueAsString("_auto_number"));

    const auto buttons = element.signal_container.GetSignals();
    ASSERT_EQ(1u, buttons.size());
    EXPECT_EQ("_take_image", buttons[0].second);
}

TEST_F(SnapShotElementTest, FileNameFollowsNameFormatAndFolder)
{
    const struct {
        std::string directory;
        std::string name;
        int format;
        std::string expected;
    } cases[] = {
        {"/data/shots/", "hippopotamus", 0, "/data/shots/hippopotamus.bmp"},
        {"/data/shots/", "shot.tiff", 2, "/data/shots/shot.png"},
        {"/data/shots/", "a.b.c", 1, "/data/shots/a.b.jpeg"},
        {"/data/shots/", "plain", 7, "/data/shots/plain.png"},
        {"/data/shots/", "plain", -1, "/data/shots/plain.png"},
        // The directory picker gives folders without the separator.
        {"/data/shots", "plain", 0, "/data/shots/plain.bmp"},
        {"", "plain", 0, "plain.bmp"},
    };
    for (const auto& c : cases) {
        Set("_directory", c.directory);
        Set("_file_name", c.name);
        Set("_image_format", std::to_string(c.format));
        EXPECT_EQ(c.expected, element.MakeFileName()) << c.name << " " << c.format;
    }
}

TEST_F(SnapShotElementTest, DefaultsWriteTheBitmapIntoTheImagesFolder)
{
    LogCapture capture;
    Shoot();
    const std::string path = home.Path() + "/orvane/images/hippopotamus.bmp";
    const cv::Mat written = cv::imread(path, cv::IMREAD_UNCHANGED);
    ASSERT_FALSE(written.empty());
    EXPECT_EQ(cv::Vec3b(80, 80, 80), written.at<cv::Vec3b>(3, 3));
    EXPECT_TRUE(capture.Contains("Image written to " + path));
}

TEST_F(SnapShotElementTest, EachFormatWritesAReadableFileOfThatKind)
{
    const struct {
        int format;
        const char* file;
    } cases[] = {{0, "f.bmp"}, {1, "f.jpeg"}, {2, "f.png"}};
    Set("_directory", folder.Path());
    Set("_file_name", "f");
    for (const auto& c : cases) {
        Set("_image_format", std::to_string(c.format));
        Shoot();
        const cv::Mat written = cv::imread(folder.File(c.file), cv::IMREAD_UNCHANGED);
        ASSERT_FALSE(written.empty()) << c.file;
        EXPECT_EQ(cv::Size(16, 12), written.size()) << c.file;
    }
    EXPECT_EQ((std::vector<std::string>{"f.bmp", "f.jpeg", "f.png"}), FilesIn(folder.Path()));
}

TEST_F(SnapShotElementTest, NumberingGivesSuccessiveNamesWithoutItTheFileIsOverwritten)
{
    Set("_directory", folder.Path() + "/");
    Set("_auto_number", "1");
    for (int i = 0; i < 3; ++i)
        Shoot();
    EXPECT_EQ((std::vector<std::string>{"hippopotamus_0.bmp", "hippopotamus_1.bmp", "hippopotamus_2.bmp"}),
              FilesIn(folder.Path()));

    Set("_auto_number", "0");
    Shoot(10);
    Shoot(20);
    EXPECT_EQ(4u, FilesIn(folder.Path()).size());
    EXPECT_EQ(cv::Vec3b(20, 20, 20), cv::imread(folder.File("hippopotamus.bmp")).at<cv::Vec3b>(0, 0));
}

std::string Content(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Shots of an earlier session stay: numbering goes on after the highest number of the
// same name and format, whatever else the folder holds.
TEST_F(SnapShotElementTest, NumberingContinuesAfterTheHighestShotOfThatNameAndFormat)
{
    const std::vector<std::string> existing = {
        "hippopotamus_0.bmp",  "hippopotamus_7.bmp",  "hippopotamus_x.bmp",          "hippopotamus_.bmp",
        "hippopotamus_-9.bmp", "hippopotamus_12.png", "hippopotamus_40.bmp.bak",     "other_30.bmp",
        "hippo_50.bmp",        "hippopotamus_3.bmp",  "hippopotamus_1234567890.bmp",
    };
    for (const std::string& name : existing)
        std::ofstream(folder.File(name)) << name;
    Set("_directory", folder.Path());
    Set("_auto_number", "1");
    const struct {
        int format;
        const char* expected;
    } cases[] = {{1, "hippopotamus_0.jpeg"},
                 {0, "hippopotamus_8.bmp"},
                 {2, "hippopotamus_13.png"},
                 // and after the element's own last shot, of any name and format
                 {0, "hippopotamus_14.bmp"}};
    for (const auto& c : cases) {
        Set("_image_format", std::to_string(c.format));
        EXPECT_EQ(folder.File(c.expected), element.MakeFileName());
        Shoot();
        EXPECT_FALSE(cv::imread(folder.File(c.expected)).empty()) << c.expected;
    }
    for (const std::string& name : existing)
        EXPECT_EQ(name, Content(folder.File(name))) << "replaced";
    EXPECT_EQ(existing.size() + 4, FilesIn(folder.Path()).size());
}

TEST_F(SnapShotElementTest, ANewElementNeverReplacesTheShotsOfAnEarlierOne)
{
    Set("_directory", folder.Path());
    Set("_auto_number", "1");
    Shoot(10);
    Shoot(20);
    SnapShotElement next_session(hub);
    next_session.settings.SetValue("_directory", folder.Path(), "");
    next_session.settings.SetValue("_auto_number", "1", "");
    testsupport::PadHarness<> next_pads(next_session);
    next_session.TakeImage();
    next_pads.Pass(MakeFrame(30));
    const struct {
        const char* name;
        int value;
    } shots[] = {{"hippopotamus_0.bmp", 10}, {"hippopotamus_1.bmp", 20}, {"hippopotamus_2.bmp", 30}};
    for (const auto& shot : shots) {
        const cv::Mat written = cv::imread(folder.File(shot.name));
        ASSERT_FALSE(written.empty()) << shot.name;
        EXPECT_EQ(cv::Vec3b::all(shot.value), written.at<cv::Vec3b>(0, 0)) << shot.name;
    }
    EXPECT_EQ(3u, FilesIn(folder.Path()).size());
}

// What the folder listing does not show (a hidden file, a dangling link, a FIFO), as a
// file made after the listing, keeps its name: the shot moves on to the next number.
TEST_F(SnapShotElementTest, ANumberedShotMovesPastNamesTakenBehindTheListingsBack)
{
    Set("_directory", folder.Path());
    Set("_auto_number", "1");
    Set("_file_name", ".hidden.png");  // the base name is ".hidden"
    std::ofstream(folder.File(".hidden_0.bmp")) << "kept";
    ASSERT_EQ(0, ::symlink(folder.File("nowhere").c_str(), folder.File(".hidden_1.bmp").c_str()));
    ASSERT_TRUE(fifofixture::MakeFifo(folder.File(".hidden_2.bmp")));
    LogCapture log;
    EXPECT_TRUE(fifofixture::ReturnsWithoutBlocking(folder.File(".hidden_2.bmp"), [&] { Shoot(); }));
    EXPECT_TRUE(log.Contains("Image written to " + folder.File(".hidden_3.bmp"))) << log.Text();
    EXPECT_FALSE(cv::imread(folder.File(".hidden_3.bmp")).empty());
    EXPECT_EQ("kept", Content(folder.File(".hidden_0.bmp")));
    EXPECT_FALSE(std::filesystem::exists(folder.File("nowhere")));
}

TEST_F(SnapShotElementTest, OnePressWritesOneFileFromTheNextFrame)
{
    Set("_directory", folder.Path());
    Set("_auto_number", "1");
    pads.Pass(MakeFrame(1));
    EXPECT_TRUE(FilesIn(folder.Path()).empty());

    // Two presses before the next frame, through the button signal.
    (*element.signal_container.GetSignals()[0].first)();
    (*element.signal_container.GetSignals()[0].first)();
    PassableItem<VideoFrame> frame = MakeFrame(2);
    EXPECT_EQ(frame.data, pads.Pass(frame).data);
    pads.Pass(MakeFrame(3));
    EXPECT_EQ((std::vector<std::string>{"hippopotamus_0.bmp"}), FilesIn(folder.Path()));
    EXPECT_EQ(cv::Vec3b(2, 2, 2), cv::imread(folder.File("hippopotamus_0.bmp")).at<cv::Vec3b>(0, 0));
}

TEST_F(SnapShotElementTest, FailedWriteIsReportedOnceAndRetriedWithTheSameNumber)
{
    const std::string missing = folder.File("missing");
    Set("_directory", missing);
    Set("_auto_number", "1");
    LogCapture capture;
    Shoot();
    pads.Pass(MakeFrame());
    const std::string log = capture.Text();
    EXPECT_EQ(std::string::npos, log.find("Image written to"));
    const std::string error = "Image could not be written to " + missing + "/hippopotamus_0.bmp";
    const std::size_t first = log.find(error);
    ASSERT_NE(std::string::npos, first);
    EXPECT_EQ(std::string::npos, log.find(error, first + 1)) << "one line per failing press";
    EXPECT_NE(std::string::npos, log.find("[ERROR]"));

    // The press is still pending: the next frame that can be written is, under number 0.
    Set("_directory", folder.Path());
    pads.Pass(MakeFrame(7));
    pads.Pass(MakeFrame(8));
    EXPECT_EQ((std::vector<std::string>{"hippopotamus_0.bmp"}), FilesIn(folder.Path()));
    EXPECT_EQ(cv::Vec3b(7, 7, 7), cv::imread(folder.File("hippopotamus_0.bmp")).at<cv::Vec3b>(0, 0));
}

// The folder and the name may come from a loaded pipeline or a command over TCP: what
// is there already and is no regular file is left alone, without waiting on it, and the
// press waits for a name that can be written.
TEST_F(SnapShotElementTest, ATargetThatIsNoRegularFileIsRefusedWithoutBlocking)
{
    Set("_directory", folder.Path());
    const std::string fifo = folder.File("fifo.bmp");
    ASSERT_TRUE(fifofixture::MakeFifo(fifo));
    std::ofstream(folder.File("kept.txt")) << "kept";
    ASSERT_EQ(0, ::symlink(folder.File("kept.txt").c_str(), folder.File("link.bmp").c_str()));
    ASSERT_EQ(0, ::symlink(folder.File("nowhere.txt").c_str(), folder.File("dangling.bmp").c_str()));
    std::filesystem::create_directory(folder.File("folder.bmp"));
    for (const char* name : {"fifo", "link", "dangling", "folder"}) {
        const std::string path = folder.File(std::string(name) + ".bmp");
        Set("_file_name", name);
        LogCapture log;
        EXPECT_TRUE(fifofixture::ReturnsWithoutBlocking(fifo, [&] {
            Shoot();
            pads.Pass(MakeFrame());
        })) << name;
        const std::string text = log.Text();
        EXPECT_EQ(std::string::npos, text.find("Image written to")) << text;
        const std::string error = "Image could not be written to " + path;
        const std::size_t first = text.find(error);
        ASSERT_NE(std::string::npos, first) << name << ": " << text;
        EXPECT_EQ(std::string::npos, text.find(error, first + 1)) << name << ": one line per press";
        EXPECT_NE(std::string::npos, text.find("[ERROR]")) << text;

        Set("_file_name", "plain");
        pads.Pass(MakeFrame());
        EXPECT_TRUE(std::filesystem::remove(folder.File("plain.bmp"))) << name << ": the press was lost";
    }
    std::ifstream kept(folder.File("kept.txt"));
    EXPECT_EQ("kept", std::string(std::istreambuf_iterator<char>(kept), std::istreambuf_iterator<char>()));
    EXPECT_FALSE(std::filesystem::exists(folder.File("nowhere.txt")));
}

// A source that failed to read hands on an empty image: the press is kept for the next
// frame, and the log says once that it waits.
TEST_F(SnapShotElementTest, AnEmptyImageKeepsThePressPendingAndSaysSoOnce)
{
    element.SetId("Snap Shot_0");
    Set("_directory", folder.Path());
    element.TakeImage();
    LogCapture log;
    EXPECT_ANY_THROW(pads.Push(testsupport::MakeFrame()));
    EXPECT_ANY_THROW(pads.Push(testsupport::MakeFrame()));
    EXPECT_TRUE(FilesIn(folder.Path()).empty());
    const std::string waits =
        "Snap Shot_0: No image in the frame to write; the shot waits for the next frame";
    const std::string text = log.Text();
    const std::size_t first = text.find(waits);
    ASSERT_NE(std::string::npos, first) << text;
    EXPECT_EQ(std::string::npos, text.find(waits, first + 1)) << text;
    EXPECT_NE(std::string::npos, text.find("[WARNING]")) << text;

    pads.Pass(MakeFrame());
    EXPECT_EQ((std::vector<std::string>{"hippopotamus.bmp"}), FilesIn(folder.Path()));
    EXPECT_TRUE(log.Contains("Image written to " + folder.File("hippopotamus.bmp")));
}

}  // namespace
