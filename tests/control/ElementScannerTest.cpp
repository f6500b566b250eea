#include "control/ElementScanner.h"

#include "control/ElementRegistry.h"
#include "control/ElementTester.h"
#include "control/TestPaternGenerator.h"
#include "control/UserRegisteredTypes.h"
#include "core/ControlAndStatus.h"
#include "core/Utilities.h"
#include "engine/ElementBase.h"
#include "support/TestSupport.h"
#include "support/LogCapture.h"

#include <boost/make_shared.hpp>
#include <boost/thread/thread.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

using testsupport::WaitFor;

namespace {

class ElementScannerTest : public ::testing::Test {
protected:
    ElementScannerTest() : hub_(boost::make_shared<ControlAndStatus>()), catalogue_(hub_) {}

    boost::shared_ptr<ElementMakerInterface> Maker(const std::string& name) const
    {
        for (const boost::shared_ptr<ElementMakerInterface>& maker : catalogue_.GetMakers()) {
            if (maker->GetName() == name)
                return maker;
        }
        return nullptr;
    }

    boost::shared_ptr<ElementBase> Make(const std::string& name) const { return Maker(name)->Make(); }

    // Registers only the named makers, in the given order.
    void RegisterOnly(const std::vector<std::string>& names) const
    {
        ElementMakerList makers;
        for (const std::string& name : names)
            makers.push_back(Maker(name));
        SetElementRegistry(makers);
    }

    static PassableItem<VideoFrame> MakeFrameOnNewThread(TestPaternGenerator& pattern)
    {
        // A new thread starts the generator's sequence afresh.
        PassableItem<VideoFrame> item;
        boost::thread thread([&] { item = pattern.MakeData(); });
        thread.join();
        return item;
    }

    testsupport::ScopedHome home_;
    boost::shared_ptr<ControlAndStatus> hub_;
    UserRegisteredTypes catalogue_;
};

std::vector<std::string> Between(const std::vector<std::string>& messages, const std::string& first,
                                 const std::string& last)
{
    auto begin = std::find(messages.begin(), messages.end(), first);
    auto end = std::find(begin, messages.end(), last);
    return std::vector<std::string>(begin, end == messages.end() ? end : end + 1);
}

long long FrameCount(const std::vector<std::string>& messages, const std::string& pad)
{
    const std::string prefix = "Frame count of " + pad + " : ";
    for (const std::string& message : messages) {
        if (message.rfind(prefix, 0) == 0)
            return std::stoll(message.substr(prefix.size()));
    }
    return -1;
}

}  // namespace

TEST_F(ElementScannerTest, DescribesInputsThenOutputs)
{
    const ElementDescription description = ElementScanner::DescribeElement(Make("Path Drawer"));
    EXPECT_EQ(description.name, "Path Drawer");
    ASSERT_EQ(description.pads.size(), 4u);
    const std::vector<std::pair<std::string, bool>> expected = {
        {"input", true}, {"Path In", true}, {"output", false}, {"Path out", false}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(description.pads[i].name, expected[i].first);
        EXPECT_EQ(description.pads[i].is_input, expected[i].second);
    }
    EXPECT_EQ(description.GetPad("Path In").type, "Path");
    EXPECT_EQ(description.GetPad("output").type, "2D Info");
    EXPECT_FALSE(description.GetPad("output").is_input);
}

TEST_F(ElementScannerTest, UnknownPadGivesEmptyDescription)
{
    const ElementDescription description = ElementScanner::DescribeElement(Make("Blur"));
    for (const char* name : {"Input", "inputs", ""}) {
        const PadDescription pad = description.GetPad(name);
        EXPECT_EQ(pad.name, "");
        EXPECT_EQ(pad.type, "");
        EXPECT_FALSE(pad.is_input);
    }
}

TEST_F(ElementScannerTest, PatternSettingsAndDefaultFrame)
{
    TestPaternGenerator pattern(hub_);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"_width", "1920"}, {"_height", "1080"}, {"_mode", "0"}, {"_greyscale", "0"}};
    std::vector<std::pair<std::string, std::string>> pairs = pattern.settings.GetNameValuePairs();
    // After the two "_setting_name" items of every configurable object.
    ASSERT_EQ(pairs.size(), 2u + 2u + expected.size() + 1u);
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(pairs[4 + i], expected[i]);
    EXPECT_EQ(pairs.back().first, "_colour");
    EXPECT_EQ(pattern.settings.FindItem("_mode").descriptor, "items=[noise][solid colour]");
    EXPECT_EQ(pattern.settings.FindItem("_width").descriptor, "min=1, max=4000");

    const PassableItem<VideoFrame> item = pattern.MakeData();
    ASSERT_TRUE(item.IsValid());
    EXPECT_EQ(item.data->image.cols, 1920);
    EXPECT_EQ(item.data->image.rows, 1080);
    EXPECT_EQ(item.data->image.type(), CV_8UC3);
}

TEST_F(ElementScannerTest, SolidColourFillsEveryPixel)
{
    TestPaternGenerator pattern(hub_);
    pattern.settings.SetValue("_mode", "1", "");
    pattern.settings.SetValue("_colour", "[255, 0, 0, 0]", "");
    pattern.settings.SetValue("_width", "5", "");
    pattern.settings.SetValue("_height", "3", "");
    const cv::Mat image = pattern.MakeData().data->image;
    ASSERT_EQ(image.size(), cv::Size(5, 3));
    for (int row = 0; row < image.rows; ++row) {
        for (int column = 0; column < image.cols; ++column)
            EXPECT_EQ(image.at<cv::Vec3b>(row, column), cv::Vec3b(255, 0, 0));
    }
}

TEST_F(ElementScannerTest, NoiseFillsColumnByColumnFromTheGenerator)
{
    TestPaternGenerator pattern(hub_);
    pattern.settings.SetValue("_width", "2", "");
    pattern.settings.SetValue("_height", "2", "");
    std::vector<std::uint32_t> numbers;
    boost::thread draw([&] {
        for (int i = 0; i < 4; ++i)
            numbers.push_back(XorShiftRandom());
    });
    draw.join();
    const cv::Mat image = MakeFrameOnNewThread(pattern).data->image;
    // Column 0 top to bottom, then column 1; bytes are bits 0-7, 16-23, 8-15.
    const cv::Point order[] = {{0, 0}, {0, 1}, {1, 0}, {1, 1}};
    for (int i = 0; i < 4; ++i) {
        const std::uint32_t n = numbers[i];
        EXPECT_EQ(image.at<cv::Vec3b>(order[i]), cv::Vec3b(n & 0xFF, (n >> 16) & 0xFF, (n >> 8) & 0xFF)) << i;
    }
}

TEST_F(ElementScannerTest, SmallestAndGreyPatterns)
{
    TestPaternGenerator pattern(hub_);
    pattern.settings.SetValue("_width", "1", "");
    pattern.settings.SetValue("_height", "1", "");
    EXPECT_EQ(pattern.MakeData().data->image.size(), cv::Size(1, 1));
    pattern.settings.SetValue("_greyscale", "1", "");
    pattern.settings.SetValue("_width", "7", "");
    const cv::Mat grey = pattern.MakeData().data->image;
    EXPECT_EQ(grey.type(), CV_8UC1);
    EXPECT_EQ(grey.size(), cv::Size(7, 1));
}

// The rig's elements have ids, so its connections count as connected and frames
// really pass through the element under test.
TEST_F(ElementScannerTest, TesterRunsFramesThroughAFilter)
{
    LogCapture log;
    boost::shared_ptr<ElementBase> blur = Make("Blur");
    {
        ElementTester tester(hub_, blur);
        EXPECT_EQ(blur->GetId(), "Blur_0");
        EXPECT_TRUE(blur->GetInputs().front()->IsConnected());
        EXPECT_EQ(blur->GetInputs().front()->peer_element_id.Get(), "Test Pattern_0");
        EXPECT_EQ(blur->GetOutputs().front()->peer_element_id.Get(), "Fake Sink_0");
        tester.Run();
        EXPECT_FALSE(blur->GetInputs().front()->IsConnected());
        EXPECT_FALSE(blur->GetOutputs().front()->IsConnected());
    }
    // The run lasts one second; a sanitized build's test pattern may not finish a frame in it.
    if (testsupport::kSanitizerSlowdown == 1) {
        EXPECT_GT(blur->GetInputs().front()->frame_count.Get(), 0);
        EXPECT_GT(blur->GetOutputs().front()->frame_count.Get(), 0);
    }

    const std::vector<std::string> expected = {"Testing element : Blur",     "Connecting up sinks",
                                               "Found sink of type 2D Info", "Connected to test pattern",
                                               "Connecting up Sources",      "Found souce of type 2D Info",
                                               "Connected to fake sink"};
    const std::vector<std::string> messages = log.Messages();
    const std::vector<std::string> run = Between(messages, expected.front(), expected.back());
    EXPECT_EQ(run, expected);
    EXPECT_EQ(FrameCount(messages, "input"), blur->GetInputs().front()->frame_count.Get());
    EXPECT_EQ(FrameCount(messages, "output"), blur->GetOutputs().front()->frame_count.Get());
}

TEST_F(ElementScannerTest, TesterFeedsEveryVideoInputAndLeavesOthers)
{
    LogCapture log;
    boost::shared_ptr<ElementBase> drawer = Make("Path Drawer");
    ElementTester tester(hub_, drawer);
    const std::vector<boost::shared_ptr<SinkBase>> inputs = drawer->GetInputs();
    EXPECT_TRUE(inputs[0]->IsConnected());
    EXPECT_FALSE(inputs[1]->IsConnected());  // "Path In" carries paths, not frames
    EXPECT_TRUE(drawer->GetOutputs()[0]->IsConnected());
    EXPECT_FALSE(drawer->GetOutputs()[1]->IsConnected());
    EXPECT_TRUE(log.Contains("Found sink of type Path"));
    EXPECT_TRUE(log.Contains("Found souce of type Path"));

    boost::shared_ptr<ElementBase> pair = Make("Video In Video");
    ElementTester second(hub_, pair);
    EXPECT_EQ(pair->GetInputs()[0]->peer_element_id.Get(), "Test Pattern_0");
    EXPECT_EQ(pair->GetInputs()[1]->peer_element_id.Get(), "Test Pattern_1");
}

TEST_F(ElementScannerTest, ElementWithoutPadsRunsAlone)
{
    LogCapture log;
    boost::shared_ptr<ElementBase> bare = boost::make_shared<ElementBase>(hub_);
    bare->SetType("Bare");
    ElementTester tester(hub_, bare);
    tester.Run();
    EXPECT_TRUE(log.Contains("Testing element : Bare"));
    EXPECT_FALSE(log.Contains("Found sink"));
    EXPECT_FALSE(log.Contains("Frame count of"));
}

// An interruption during the run tears the rig down (connections before elements) and
// reaches the caller instead of being swallowed.
TEST_F(ElementScannerTest, InterruptedTesterStopsItsRig)
{
    LogCapture log;
    boost::shared_ptr<ElementBase> blur = Make("Blur");
    bool interrupted = false;
    boost::thread thread([&] {
        try {
            ElementTester tester(hub_, blur);
            tester.Run();
        } catch (const boost::thread_interrupted&) {
            interrupted = true;
        }
    });
    // The rig is up: the interruption reaches the run at its wait at the latest.
    ASSERT_TRUE(WaitFor([&] { return log.Contains("Connected to fake sink"); }));
    thread.interrupt();
    thread.join();
    EXPECT_TRUE(interrupted);
    EXPECT_FALSE(blur->GetInputs().front()->IsConnected());
    EXPECT_FALSE(log.Contains("Frame count of"));
}

TEST_F(ElementScannerTest, ScannerTestsEachMakerAndSkipsFailures)
{
    RegisterOnly({"Camera", "Blur", "Main Display"});
    LogCapture log;
    ElementScanner(hub_).TestAllElements();
    const std::vector<std::string> messages = log.Messages();
    EXPECT_NE(std::find(messages.begin(), messages.end(), "Test failed for element : Camera"),
              messages.end());
    const auto blur = std::find(messages.begin(), messages.end(), "Testing element : Blur");
    const auto display = std::find(messages.begin(), messages.end(), "Testing element : Main Display");
    ASSERT_NE(blur, messages.end());
    ASSERT_NE(display, messages.end());
    EXPECT_LT(blur, display);
    EXPECT_EQ(*(blur - 1), "");  // an empty DEBUG line opens every element's test
    EXPECT_EQ(*(display - 1), "");
}

TEST_F(ElementScannerTest, InterruptionEndsTheScan)
{
    RegisterOnly({"Blur", "Erosion", "Dilation"});
    LogCapture log;
    bool interrupted = false;
    boost::thread thread([&] {
        try {
            ElementScanner(hub_).TestAllElements();
        } catch (const boost::thread_interrupted&) {
            interrupted = true;
        }
    });
    ASSERT_TRUE(WaitFor([&] { return log.Contains("Testing element : Blur"); }));
    thread.interrupt();
    thread.join();
    EXPECT_TRUE(interrupted);
    EXPECT_FALSE(log.Contains("Test failed for element"));
    EXPECT_FALSE(log.Contains("Testing element : Erosion"));
}
