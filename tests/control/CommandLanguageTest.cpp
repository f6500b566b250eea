// The text command language as scripts of command line and exact reply.
#include "control/PowerCommanderTop.h"

#include "control/ElementRegistry.h"
#include "core/ControlAndStatus.h"
#include "elements/CameraElement.h"
#include "elements/FakeVideoCapture.h"
#include "engine/ElementBase.h"
#include "support/TestSupport.h"
#include "support/LogCapture.h"

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

struct Step {
    std::string line;
    std::string reply;
};

class CommandLanguageTest : public ::testing::Test {
protected:
    CommandLanguageTest()
        : hub_(boost::make_shared<ControlAndStatus>()), commander_(new PowerCommanderTop(hub_))
    {
    }

    void Run(const std::vector<Step>& script)
    {
        for (const Step& step : script)
            EXPECT_EQ(commander_->ParseCommand(step.line), step.reply) << "line: " << step.line;
    }

    testsupport::ScopedHome home_;
    boost::shared_ptr<ControlAndStatus> hub_;
    boost::shared_ptr<PowerCommanderTop> commander_;
};

const std::string kBlurSettings =
    "_setting_name = Blur\n_setting_name = Blur\n_position_x = 0\n_position_y = 0\n_preview_controls = \n";

}  // namespace

TEST_F(CommandLanguageTest, IdsAreMadeFoundAndReusedAfterClear)
{
    Run({
        {"make Blur", "Blur_0"},
        {"make Blur", "Blur_1"},
        {"make Blur b1", "b1"},
        {"make Blur b1", "b1"},
        {"make Blur_0", "Blur_0"},
        {"make Blur Blur_1", "Blur_1"},
        {"make Canny", "Canny_0"},
        {"list-elements", "Elements:Blur_0\nBlur_1\nb1\nCanny_0\n"},
        {"clear", "Success"},
        {"list-elements", "Elements:"},
        {"make Blur", "Blur_0"},
        {"make \"Main Display\"", "Main Display_0"},
        {"make Blur \"my blur\"", "my blur"},
        {"list-elements", "Elements:Blur_0\nMain Display_0\nmy blur\n"},
    });
}

// An id given with "make" is made even when an element is named like the catalogue name.
TEST_F(CommandLanguageTest, GivenIdIsMadeBesideAnElementNamedLikeTheCatalogueName)
{
    Run({
        {"make Blur Blur", "Blur"},
        {"make Blur b1", "b1"},
        {"make Blur", "Blur"},
        {"list-elements", "Elements:Blur\nb1\n"},
    });
}

TEST_F(CommandLanguageTest, MakeThatMakesNothingFails)
{
    Run({
        {"make", "Error, command failed"},
        {"make blur", "Error, command failed"},
        {"make EdgeDetect", "Error, command failed"},
        {"make Main Display", "Error, command failed"},
        {"make  Blur", "Error, command failed"},
        {"make Nothing x", "Error, command failed"},
        {"make Camera", "Error, command failed"},
        {"list-elements", "Elements:"},
    });
}

TEST_F(CommandLanguageTest, ArgumentErrors)
{
    Run({
        {"connect", "Not enough elements"},
        {"connect Blur_0", "Not enough elements"},
        {"connect x y", "Error, command failed"},
        {"save", "Not enought args"},
        {"load", "Not enought args"},
        {"query", "Not enough args"},
        {"query x", "Error, command failed"},
        {"set", "Not enough args"},
        {"set x _width", "Not enough args"},
        {"set x _width 5", "Error, command failed"},
        {"disconnect", "Error, command failed"},
        {"log-everything", "Error, command failed"},
        {"log-everything 2", "Success"},
        {"log-everything 1", "Success"},
        {"log-everything 0", "Success"},
        {"buildlink", "Success"},
        {"buildlink Nothing", "Error, command failed"},
        {"buildlink Blur Nothing", "Error, command failed"},
        {"list-elements", "Elements:Blur_0\n"},
    });
}

TEST_F(CommandLanguageTest, CommandsWithoutReplyTextAnswerSuccess)
{
    Run({
        {"start", "Success"},
        {"stop", "Success"},
        {"restart", "Success"},
        {"pause", "Success"},
        {"play", "Success"},
        {"step", "Unrecognised command : step\n"},
        {"log", "Success"},
        {"disconnect-all", "Success"},
        {"disconnect nobody", "Success"},
        {"save p1", "Success"},
        {"load p1", "Success"},
    });
}

TEST_F(CommandLanguageTest, UnrecognisedWordsAreEchoedWithTheirArguments)
{
    Run({
        {"", "Unrecognised command : \n"},
        {"foo a b", "Unrecognised command : foo a b\n"},
        {"foo  \"a b\"", "Unrecognised command : foo  a b\n"},
        {"START", "Unrecognised command : START\n"},
        {"make-permanent Blur_0", "Unrecognised command : make-permanent Blur_0\n"},
        {"help\n", "Unrecognised command : help\n\n"},
    });
}

TEST_F(CommandLanguageTest, VideoAndPathConnections)
{
    Run({
        {"make \"Image Read\"", "Image Read_0"},
        {"make Blur", "Blur_0"},
        {"connect \"Image Read_0\" Blur_0",
         "Connected Source : Output 0 of Image Read_0 To input of Blur_0 of type TwoDimentionalData"},
        {"connect \"Image Read_0\" Blur_0", "Failed to connect elements"},
        {"list-connections", "___ CONNECTIONS ____\nImage Read_0 --> Blur_0\n"},
        {"buildlink Blur_0 \"Main Display\"", "Main Display_0"},
        {"list-connections", "___ CONNECTIONS ____\nImage Read_0 --> Blur_0\nBlur_0 --> Main Display_0\n"},
        {"make \"Contour Detector\"", "Contour Detector_0"},
        {"make \"Path Drawer\"", "Path Drawer_0"},
        {"connect \"Contour Detector_0\" \"Path Drawer_0\"",
         "Connected Source : output of Contour Detector_0 To input of Path Drawer_0 of type "
         "TwoDimentionalData"},
        {"connect \"Contour Detector_0\" \"Path Drawer_0\"",
         "Connected Source : Path Output of Contour Detector_0 To Path In of Path Drawer_0 of type Path"},
        {"connect \"Contour Detector_0\" \"Path Drawer_0\"", "Failed to connect elements"},
        {"start", "Success"},
        {"disconnect Blur_0", "Success"},
        {"list-connections", "___ CONNECTIONS ____\nContour Detector_0 --> Path Drawer_0\nContour Detector_0 "
                             "--> Path Drawer_0\n"},
        {"clear", "Success"},
        {"list-connections", "___ CONNECTIONS ____\n"},
    });
}

TEST_F(CommandLanguageTest, QueryAndSet)
{
    Run({
        {"make Blur \"my blur\"", "my blur"},
        {"query \"my blur\"", kBlurSettings + "_width = 3\n_height = 3\n"},
        {"query my blur", "Error, command failed"},
        {"set \"my blur\" _width 7", "Success"},
        {"query \"my blur\" _width", kBlurSettings + "_width = 7\n_height = 3\n"},
        {"set \"my blur\" _nothing 1", "Error, command failed"},
        {"set \"my blur\" _height seven", "Error, command failed"},
        {"query \"my blur\"", kBlurSettings + "_width = 7\n_height = 3\n"},
        {"list-settings", "Elements: my blur\n_setting_name = No Controls\n_setting_name = No Controls\n\n"},
    });
}

// A number outside the "min"/"max" a descriptor names is refused and the value stays;
// "1000" took one Dilation frame 25 s.
TEST_F(CommandLanguageTest, SetHoldsNumbersToTheDescriptorsLimits)
{
    ASSERT_EQ(commander_->ParseCommand("make Blur b"), "b");
    ASSERT_EQ(commander_->ParseCommand("make \"Video In Video\" v"), "v");
    struct Case {
        std::string line;
        std::string reply;
    };
    const std::vector<Case> cases = {
        {"set b _width 0", "Error, command failed"},
        {"set b _width 11", "Error, command failed"},
        {"set b _width +11", "Error, command failed"},
        {"set b _width -1", "Error, command failed"},
        {"set b _width 2147483647", "Error, command failed"},
        {"set b _height 1000", "Error, command failed"},
        {"set v _transparency 1.5", "Error, command failed"},
        {"set v _transparency nan", "Error, command failed"},
        {"set v _transparency inf", "Error, command failed"},
        {"set b _width 10", "Success"},
        {"set b _width 1", "Success"},
        {"set v _transparency 0", "Success"},
        // No limits named: anything the variable can hold.
        {"set b _position_x 5000", "Success"},
        {"set b _position_x -5000", "Success"},
    };
    for (const Case& c : cases) {
        const std::string before = commander_->ParseCommand("query b") + commander_->ParseCommand("query v");
        const std::string reply = commander_->ParseCommand(c.line);
        EXPECT_EQ(reply, c.reply) << c.line;
        if (reply != "Success") {
            EXPECT_EQ(commander_->ParseCommand("query b") + commander_->ParseCommand("query v"), before)
                << c.line;
        }
    }
    EXPECT_EQ(commander_->GetElement("b")->settings.GetValueAsString("_width"), "1");

    ParameterContainer& settings = commander_->GetElement("b")->settings;
    settings.SetValue("_width", "3", "min=1, max=10, other=no-limits");
    EXPECT_EQ(commander_->ParseCommand("set b _width 12"), "Success");
    settings.SetValue("_width", "3", "type=hidden");
    EXPECT_EQ(commander_->ParseCommand("set b _width 13"), "Success");
    EXPECT_EQ(settings.GetValueAsString("_width"), "13");
}

// Setting an element's own setting logs nothing: the controls object, which lacks the
// setting, is left alone.
TEST_F(CommandLanguageTest, SetOfAnElementSettingLogsNoError)
{
    commander_->ParseCommand("make Blur b");
    bool signalled = false;
    boost::signals2::scoped_connection connection(
        commander_->GetElement("b")->settings_changed_signal.connect([&] { signalled = true; }));
    LogCapture log;
    EXPECT_EQ(commander_->ParseCommand("set b _width 5"), "Success");
    EXPECT_FALSE(log.Contains("[ERROR]")) << log.Text();
    EXPECT_TRUE(signalled);
}

// "set" tells the element as its node panel does, so the camera applies the change.
TEST_F(CommandLanguageTest, SetOfACameraPropertyReachesTheDeviceOnTheNextFrame)
{
    auto capture = boost::make_shared<FakeVideoCapture>();
    capture->properties = {{cv::CAP_PROP_BRIGHTNESS, 0.5}};
    capture->frames.assign(3, cv::Mat(3, 4, CV_8UC3, cv::Scalar::all(0)));
    auto camera = boost::make_shared<CameraElement>(hub_, capture);
    camera->SetId("Camera_0");
    commander_->GetElementTable()->AddElement(camera);
    camera->GetData();  // takes the properties it starts with
    capture->set_calls.clear();

    EXPECT_EQ(commander_->ParseCommand("set Camera_0 Brightness 40"), "Success");
    camera->GetData();
    const std::vector<std::pair<int, double>> writes = {{cv::CAP_PROP_BRIGHTNESS, 40.0}};
    EXPECT_EQ(capture->set_calls, writes);
}

TEST_F(CommandLanguageTest, HistoryRecordsEveryLine)
{
    Run({
        {"start", "Success"},
        {"foo bar", "Unrecognised command : foo bar\n"},
        {"history", "start\nfoo bar\nhistory\n"},
        {"query", "Not enough args"},
        {"make Blur \"a b\"", "a b"},
        {"history", "start\nfoo bar\nhistory\nquery\nmake Blur a b\nhistory\n"},
    });
}

// Any remote client can send lines without end: only the newest thousand are kept.
TEST_F(CommandLanguageTest, HistoryKeepsTheNewestThousandLines)
{
    for (int i = 0; i < 1500; ++i)
        commander_->ParseCommand("line" + std::to_string(i));
    std::string expected;
    for (int i = 501; i < 1500; ++i)
        expected += "line" + std::to_string(i) + "\n";
    EXPECT_EQ(commander_->ParseCommand("history"), expected + "history\n");
}

// Making and clearing many elements costs about the same per element however many there are.
TEST_F(CommandLanguageTest, ClearingManyElementsIsNotQuadratic)
{
    constexpr int kElements = 4000;
    for (int i = 0; i < kElements; ++i)
        ASSERT_EQ(commander_->MakeElement("Blur", ""), "Blur_" + std::to_string(i));
    ParameterStore& store = commander_->GetElementTable()->GetParameterStore();
    const unsigned long long records = store.GetTable().size();
    const unsigned long long examined_before = store.RecordsExamined();
    EXPECT_EQ(commander_->ParseCommand("clear"), "Success");
    // Each record is looked at once (twice the rows: the table leaves out rows it cannot
    // show); before the store was indexed by item, every removal looked at all of them,
    // and the clear took 35 s.
    EXPECT_LE(store.RecordsExamined() - examined_before, 2 * records);
    EXPECT_TRUE(commander_->GetElementIds().empty());
    EXPECT_TRUE(commander_->GetElementTable()->GetParameterStore().GetTable().empty());
}

TEST_F(CommandLanguageTest, Help)
{
    Run({{"help", "Available Commands\n"
                  "start                               - Starts the pipeline \n"
                  "restart                             - Restarts the pipeline \n"
                  "stop                                - Stops the pipeline\n"
                  "clear                               - Clears all elements\n"
                  "disconnect-all                      - Disconnects\n"
                  "disconnect [id]                     - Disconnects an element\n"
                  "save [name to save]                 - Saves a pipeline\n"
                  "get-saved                           - Returns a list of saved files\n"
                  "load [name of saved pipeline]       - Loads a pipeline\n"
                  "make [element name] [id (optional)] - Makes an element\n"
                  "buildlink [element name or id] ...  - Builds a link of elements\n"
                  "connect [id_1] [id_2]               - Connects two elements\n"
                  "make-permanent                      - Makes an element Permanent\n"
                  "list-settings                       - Lists available settings\n"
                  "set [id] [setting name] [value]     - Sets a setting on an element\n"
                  "query [id] [setting name]           - Lists available settings\n"
                  "list-elements                       - Lists made elements\n"
                  "elements                            - Lists available elements\n"}});
}

TEST_F(CommandLanguageTest, ElementsListing)
{
    const std::string reply = commander_->ParseCommand("elements");
    EXPECT_EQ(reply.rfind("<blockquote>Camera</blockquote>\n<strong>Camera</strong>\n"
                          "Records video from the webcam\n\n<blockquote>Input</blockquote>\n"
                          "<strong>Video Read</strong>\nReads video from a file\n\n"
                          "<strong>Image Read</strong>\nReads an image from a file\n\n",
                          0),
              0u)
        << reply;
    auto count = [&reply](const std::string& part) {
        std::size_t n = 0;
        for (std::size_t at = reply.find(part); at != std::string::npos; at = reply.find(part, at + 1))
            ++n;
        return n;
    };
    EXPECT_EQ(count("<blockquote>"), 13u);
    EXPECT_EQ(count("<strong>"), 18u);
    EXPECT_EQ(count("<blockquote>Colour</blockquote>"), 2u);
    EXPECT_EQ(count("<blockquote>Morphilogical</blockquote>\n<strong>Dilation</strong>"), 1u);
    const std::string end = "<strong>Main Display</strong>\nBig front display\n\n";
    EXPECT_EQ(reply.substr(reply.size() - end.size()), end);
}

TEST_F(CommandLanguageTest, RegisterKeepsEighteenMakers)
{
    Run({{"register", "Registered 18 Elements\n"}, {"register", "Registered 18 Elements\n"}});
    const ElementMakerList makers = GetElementRegistry();
    ASSERT_EQ(makers.size(), 18u);
    EXPECT_EQ(makers.front()->GetName(), "Camera");
    EXPECT_EQ(makers[9]->GetName(), "Canny");
    EXPECT_EQ(makers.back()->GetName(), "Main Display");
}

TEST_F(CommandLanguageTest, SavedPipelinesWithoutAndWithAStore)
{
    Run({{"get-saved", "Files to open: \nType load [name]"}});
    std::vector<std::string> saved;
    std::vector<std::string> loaded;
    boost::signals2::scoped_connection list(hub_->list_signal.connect([] {
        return std::vector<std::string>{"first", "second"};
    }));
    boost::signals2::scoped_connection save(
        hub_->save_signal.connect([&](std::string name) { saved.push_back(name); }));
    boost::signals2::scoped_connection load(
        hub_->load_signal.connect([&](std::string name) { loaded.push_back(name); }));
    Run({
        {"get-saved", "Files to open: \nfirst\nsecond\nType load [name]"},
        {"save \"my pipe\"", "Success"},
        {"load other", "Success"},
    });
    EXPECT_EQ(saved, std::vector<std::string>{"my pipe"});
    EXPECT_EQ(loaded, std::vector<std::string>{"other"});
}

TEST_F(CommandLanguageTest, ParseCommandArgsSplitsOnlyTheArguments)
{
    EXPECT_EQ(commander_->ParseCommandArgs("make", "Blur \"x y\""), "x y");
    EXPECT_EQ(commander_->ParseCommandArgs("list elements", ""), "Unrecognised command : list elements \n");
    // Arguments handed over as words keep their spaces: the id "x y" is one word.
    EXPECT_EQ(commander_->RunCommand("query", {"x y"}), kBlurSettings + "_width = 3\n_height = 3\n");
    EXPECT_EQ(commander_->RunCommand("query", {"x", "y"}), "Error, command failed");
}
