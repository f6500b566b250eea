#include "control/PowerCommanderTop.h"

#include "control/LoaderSaver.h"
#include "core/ControlAndStatus.h"
#include "core/Output2FILE.h"
#include "engine/ElementBase.h"
#include "support/TestSupport.h"
#include "support/LogCapture.h"

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>
#include <opencv2/imgcodecs.hpp>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

using testsupport::WaitFor;

namespace {

class PowerCommanderTopTest : public ::testing::Test {
protected:
    PowerCommanderTopTest()
        : hub_(boost::make_shared<ControlAndStatus>()), commander_(new PowerCommanderTop(hub_))
    {
    }

    bool Connected(const std::string& id, const std::string& pad)
    {
        return commander_->IsPortConnected(id, pad);
    }

    // An "Image Read" that reads a small picture of the test's own.
    std::string MakeImageReader()
    {
        const std::string path = files_.File("picture.png");
        cv::imwrite(path, cv::Mat(48, 64, CV_8UC3, cv::Scalar(10, 200, 30)));
        const std::string id = commander_->MakeElement("Image Read", "");
        commander_->GetElement(id)->settings.SetValue("_file_path", path, "");
        return id;
    }

    testsupport::ScopedHome home_;
    testsupport::TempDir files_;
    boost::shared_ptr<ControlAndStatus> hub_;
    boost::shared_ptr<PowerCommanderTop> commander_;
};

}  // namespace

TEST_F(PowerCommanderTopTest, MakeElementMakesOrFinds)
{
    struct Case {
        std::string name;
        std::string id;
        std::string returned;
        std::vector<std::string> ids_after;
    };
    const std::vector<Case> cases = {
        {"Blur", "", "Blur_0", {"Blur_0"}},
        {"Blur", "", "Blur_1", {"Blur_0", "Blur_1"}},
        {"Blur", "Blur_0", "Blur_0", {"Blur_0", "Blur_1"}},
        {"Blur_0", "", "Blur_0", {"Blur_0", "Blur_1"}},
        {"Blur_0", "no_id_given", "Blur_0", {"Blur_0", "Blur_1"}},
        {"Blur", "no_id_given", "Blur_2", {"Blur_0", "Blur_1", "Blur_2"}},
        // A given id is made even though an element is called like the name.
        {"Blur_0", "x", "x", {"Blur_0", "Blur_1", "Blur_2"}},
        {"Canny", "Blur_0", "Blur_0", {"Blur_0", "Blur_1", "Blur_2"}},
        {"Nothing", "", "", {"Blur_0", "Blur_1", "Blur_2"}},
        {"Nothing", "no_id_given", "", {"Blur_0", "Blur_1", "Blur_2"}},
        {"Nothing", "y", "y", {"Blur_0", "Blur_1", "Blur_2"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(commander_->MakeElement(c.name, c.id), c.returned) << c.name << " / " << c.id;
        EXPECT_EQ(commander_->GetElementIds(), c.ids_after) << c.name << " / " << c.id;
    }
}

TEST_F(PowerCommanderTopTest, MakeElementWithGivenIdBesideCatalogueNamedElement)
{
    EXPECT_EQ(commander_->MakeElement("Blur", "Blur"), "Blur");
    EXPECT_EQ(commander_->MakeElement("Blur", "b1"), "b1");
    EXPECT_EQ(commander_->GetElement("b1")->GetType(), "Blur");
    EXPECT_EQ(commander_->MakeElement("Blur", ""), "Blur");
    EXPECT_EQ(commander_->GetElementIds(), (std::vector<std::string>{"Blur", "b1"}));
}

TEST_F(PowerCommanderTopTest, FailedMakeIsLogged)
{
    LogCapture log;
    EXPECT_EQ(commander_->MakeElement("Nothing", ""), "");
    EXPECT_TRUE(log.Contains("[ERROR]  Could not make elementNothing")) << log.Text();
    EXPECT_EQ(commander_->MakeElement("Camera", ""), "");
    EXPECT_TRUE(log.Contains("Exception thrown when constructing element Camera is this resource in use?"));
}

TEST_F(PowerCommanderTopTest, LookupsThrowForAnAbsentId)
{
    EXPECT_THROW(commander_->GetElement("none"), std::exception);
    EXPECT_THROW(commander_->GetElementControls("none"), std::exception);
    EXPECT_THROW(commander_->GetElementSettings("none"), std::exception);
    EXPECT_THROW(commander_->ConnectElements("none", "other"), std::exception);
    const std::string id = commander_->MakeElement("Blur", "");
    EXPECT_EQ(commander_->GetElementControls(id).get(), commander_->GetElement(id).get());
    EXPECT_EQ(commander_->GetElementSettings(id), &commander_->GetElement(id)->controls->settings);
}

TEST_F(PowerCommanderTopTest, ConnectPadsReplies)
{
    const std::string reader = commander_->MakeElement("Image Read", "");
    const std::string blur = commander_->MakeElement("Blur", "");
    const std::string other = commander_->MakeElement("Image Read", "");
    EXPECT_EQ(commander_->ConnectPads(reader, "Output 0", blur, "input"),
              "Connected Source : Output 0 of Image Read_0 To input of Blur_0 of type TwoDimentionalData");
    EXPECT_EQ(commander_->ConnectPads(other, "Output 0", blur, "input"), "A port is connected");
    EXPECT_EQ(commander_->ConnectPads(other, "Output 0", blur, "Input"), "Failed");
    EXPECT_EQ(commander_->ConnectPads(other, "Output 0", "nobody", "input"), "Failed");
    EXPECT_TRUE(Connected(reader, "Output 0"));
    EXPECT_TRUE(Connected(blur, "input"));
    EXPECT_FALSE(Connected(blur, "output"));
    EXPECT_FALSE(Connected(blur, "nothing"));
    EXPECT_FALSE(Connected("nobody", "input"));
}

TEST_F(PowerCommanderTopTest, DisconnectPadsRemovesEveryLinkBetweenTheTwo)
{
    const std::string tee = commander_->MakeElement("Tee", "");
    const std::string sync = commander_->MakeElement("Frame Syncronizer", "");
    commander_->ConnectPads(tee, "output", sync, "input 0");
    commander_->ConnectPads(tee, "cloned output 0", sync, "input 1");
    ASSERT_TRUE(Connected(sync, "input 1"));
    EXPECT_FALSE(commander_->DisconnectPads(tee, "cloned output 1", sync, "input 0"));
    EXPECT_TRUE(commander_->DisconnectPads(tee, "output", sync, "input 0"));
    EXPECT_FALSE(Connected(sync, "input 0"));
    EXPECT_FALSE(Connected(sync, "input 1"));
    EXPECT_FALSE(commander_->DisconnectPads(tee, "output", sync, "input 0"));
    EXPECT_FALSE(commander_->DisconnectPads(tee, "output", "nobody", "input 0"));
}

TEST_F(PowerCommanderTopTest, BuildLinkChainsElements)
{
    EXPECT_EQ(commander_->BuildLink({"Image Read", "Blur", "Main Display"}), "Main Display_0");
    EXPECT_EQ(commander_->GetElementIds(),
              (std::vector<std::string>{"Image Read_0", "Blur_0", "Main Display_0"}));
    EXPECT_EQ(commander_->GetElement("Blur_0")->GetInputs().front()->peer_element_id.Get(), "Image Read_0");
    EXPECT_EQ(commander_->GetElement("Blur_0")->GetOutputs().front()->peer_element_id.Get(),
              "Main Display_0");
    EXPECT_EQ(commander_->BuildLink({}), "");
    EXPECT_THROW(commander_->BuildLink({"Blur", "Nothing"}), std::exception);
    EXPECT_TRUE(commander_->GetElementTable()->Exists("Blur_1"));
}

TEST_F(PowerCommanderTopTest, RunningPipelineMovesFrames)
{
    const std::string reader = MakeImageReader();
    commander_->BuildLink({reader, "Blur", "Main Display"});
    commander_->Start();
    const boost::shared_ptr<ElementBase> blur = commander_->GetElement("Blur_0");
    ASSERT_TRUE(WaitFor([&] { return blur->GetInputs().front()->frame_count.Get() > 2; }));
    commander_->Pause(true);
    EXPECT_TRUE(commander_->IsPaused());
    commander_->Pause(false);
    commander_->Stop();
}

// The reader -> Blur_0 -> Threshold_0 chain of the commands, and the frame count of each
// of its two connections.
class RunningChain {
public:
    explicit RunningChain(PowerCommanderTop& commander) : commander_(commander) {}

    long long First() { return commander_.GetElement("Blur_0")->GetInputs().front()->frame_count.Get(); }
    long long Second()
    {
        return commander_.GetElement("Threshold_0")->GetInputs().front()->frame_count.Get();
    }
    bool Both(long long count) { return First() == count && Second() == count; }

    // The state of each connection as "log" reports it, counts included.
    std::string Report()
    {
        LogCapture log;
        EXPECT_EQ(commander_.ParseCommand("log"), "Success");
        std::string states;
        for (const std::string& message : log.Messages())
            if (message.find("State : ") != std::string::npos || message.rfind("Frame count: ", 0) == 0)
                states += message + "\n";
        return states;
    }

    // Both connections held: two reports alike, the first at its gate past its hand-over,
    // the second at its gate too or, when it went through its gate before the pause,
    // waiting for the frame the held first connection cannot give it.
    bool Held()
    {
        const std::string report = Report();
        const std::size_t at_gate = CountOf(report, "State : Passing data out out");
        const std::size_t waiting = CountOf(report, "State : Getting Data");
        return report == Report() && at_gate >= 1 && at_gate + waiting == 2;
    }

private:
    static std::size_t CountOf(const std::string& text, const std::string& part)
    {
        std::size_t count = 0;
        for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
            ++count;
        return count;
    }

    PowerCommanderTop& commander_;
};

// Started paused, each connection makes its first pass and holds; each step then moves
// every connection exactly one frame.
TEST_F(PowerCommanderTopTest, StepMovesEachConnectionOneFrame)
{
    const std::string reader = MakeImageReader();
    ASSERT_EQ(commander_->ParseCommand("buildlink \"" + reader + "\" Blur Threshold"), "Threshold_0");
    RunningChain chain(*commander_);
    ASSERT_EQ(commander_->ParseCommand("pause"), "Success");
    ASSERT_EQ(commander_->ParseCommand("start"), "Success");
    ASSERT_TRUE(WaitFor([&] { return chain.Both(1) && chain.Held(); }));
    for (long long frame = 2; frame <= 4; ++frame) {
        commander_->Step();
        EXPECT_TRUE(commander_->IsPaused());
        ASSERT_TRUE(WaitFor([&] { return chain.Both(frame) && chain.Held(); })) << frame;
    }
    EXPECT_TRUE(chain.Both(4));
    ASSERT_EQ(commander_->ParseCommand("stop"), "Success");
}

TEST_F(PowerCommanderTopTest, PauseHoldsThePipelineAndPlayLetsItGo)
{
    const std::string reader = MakeImageReader();
    ASSERT_EQ(commander_->ParseCommand("buildlink \"" + reader + "\" Blur Threshold"), "Threshold_0");
    RunningChain chain(*commander_);
    ASSERT_EQ(commander_->ParseCommand("start"), "Success");
    ASSERT_TRUE(WaitFor([&] { return chain.Second() > 5; }));

    ASSERT_EQ(commander_->ParseCommand("pause"), "Success");
    EXPECT_TRUE(commander_->IsPaused());
    const long long first_at_pause = chain.First();
    const long long second_at_pause = chain.Second();
    ASSERT_TRUE(WaitFor([&] { return chain.Held(); }));
    for (int i = 0; i < 50; ++i)
        chain.Report();
    // A pass in flight at the pause may finish, and its frame may go one hop further.
    EXPECT_LE(chain.First(), first_at_pause + 2);
    EXPECT_LE(chain.Second(), second_at_pause + 2);
    const long long held = chain.First();

    ASSERT_EQ(commander_->ParseCommand("play"), "Success");
    EXPECT_FALSE(commander_->IsPaused());
    EXPECT_TRUE(WaitFor([&] { return chain.First() > held + 5 && chain.Second() > held + 5; }));
    ASSERT_EQ(commander_->ParseCommand("stop"), "Success");
}

// A load that is refused leaves the running pipeline running.
TEST_F(PowerCommanderTopTest, RefusedLoadLeavesThePipelineRunning)
{
    hub_->SetCommander(commander_);
    struct Unlink {
        ControlAndStatus& hub;
        ~Unlink() { hub.SetCommander(boost::shared_ptr<PowerCommanderTop>()); }
    } unlink{*hub_};
    LoaderSaver store(nullptr, hub_);
    const std::string reader = MakeImageReader();
    ASSERT_EQ(commander_->ParseCommand("buildlink \"" + reader + "\" Blur Threshold"), "Threshold_0");
    RunningChain chain(*commander_);
    ASSERT_EQ(commander_->ParseCommand("start"), "Success");
    ASSERT_TRUE(WaitFor([&] { return chain.Second() > 2; }));
    const std::string folder = ControlAndStatus::GetSettingsDirectory();
    std::ofstream(folder + "truncated.xml") << "<top><Element id=\"x\" type=\"Blur\"";
    std::ofstream(folder + "foreign.xml") << "<Loader/>";
    for (const char* name : {"absent", "truncated", "foreign", "../escape"}) {
        EXPECT_EQ(commander_->ParseCommand(std::string("load ") + name), "Error, command failed") << name;
        const long long now = chain.Second();
        EXPECT_TRUE(WaitFor([&] { return chain.Second() > now + 2; })) << name;
    }
    EXPECT_EQ(commander_->GetElementIds(), (std::vector<std::string>{reader, "Blur_0", "Threshold_0"}));
    ASSERT_EQ(commander_->ParseCommand("stop"), "Success");
}

// Removing an element takes its connections down first, even while they run.
TEST_F(PowerCommanderTopTest, RemoveElementDisconnectsFirst)
{
    const std::string reader = MakeImageReader();
    commander_->BuildLink({reader, "Blur", "Main Display"});
    commander_->Start();
    const boost::weak_ptr<ElementBase> blur = commander_->GetElement("Blur_0");
    ASSERT_TRUE(WaitFor([&] { return blur.lock()->GetInputs().front()->frame_count.Get() > 2; }));
    commander_->RemoveElement("Blur_0");
    EXPECT_TRUE(blur.expired());
    EXPECT_FALSE(Connected(reader, "Output 0"));
    EXPECT_FALSE(Connected("Main Display_0", "input"));
    EXPECT_EQ(commander_->MakeElement("Blur", ""), "Blur_0");
    EXPECT_EQ(commander_->GetElementTable()->ListConnections(), "___ CONNECTIONS ____\n");
    commander_->Clear();
    EXPECT_TRUE(commander_->GetElementIds().empty());
}

TEST_F(PowerCommanderTopTest, VariableTableFollowsTheElements)
{
    commander_->MakeElement("Blur", "b");
    commander_->MakeElement("Threshold", "t");
    auto rows_of = [this](const std::string& id) {
        std::vector<ParameterTableRow> rows;
        for (const ParameterTableRow& row : commander_->GetElementTable()->GetParameterStore().GetTable()) {
            if (row.name == id)
                rows.push_back(row);
        }
        return rows;
    };
    const std::vector<ParameterTableRow> blur_rows = rows_of("b");
    const auto width = std::find_if(blur_rows.begin(), blur_rows.end(), [](const ParameterTableRow& row) {
        return row.setting_name == "_width";
    });
    ASSERT_NE(width, blur_rows.end());
    EXPECT_EQ(width->value, "3");
    EXPECT_EQ(width->owner, "Blur");
    EXPECT_FALSE(width->type_name.empty());
    commander_->RemoveElement("b");
    EXPECT_TRUE(rows_of("b").empty());
    EXPECT_FALSE(rows_of("t").empty());
}

TEST_F(PowerCommanderTopTest, DisconnectAllElementsAndRegister)
{
    commander_->BuildLink({"Image Read", "Blur"});
    EXPECT_EQ(commander_->DisconnectAllElements(), "");
    EXPECT_FALSE(Connected("Blur_0", "input"));
    EXPECT_EQ(commander_->RegisterElements(), "Registered 18 Elements\n");
}

TEST_F(PowerCommanderTopTest, DestructorReportsAndReleasesElements)
{
    commander_->BuildLink({"Image Read", "Blur"});
    commander_->Start();
    const boost::weak_ptr<ElementBase> blur = commander_->GetElement("Blur_0");
    testing::internal::CaptureStdout();
    commander_.reset();
    EXPECT_NE(testing::internal::GetCapturedStdout().find("Destroyed Commander\n"), std::string::npos);
    EXPECT_TRUE(blur.expired());
}
