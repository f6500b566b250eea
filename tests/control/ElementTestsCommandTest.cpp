// The "test" command: element tests on a thread of their own, with frames flowing through
// every catalogue element, and a clean end however the process ends during a test.
#include "control/PowerCommanderTop.h"

#include "control/ElementRegistry.h"
#include "control/ElementScanner.h"
#include "core/ControlAndStatus.h"
#include "core/VideoFrame.h"
#include "engine/ElementBase.h"
#include "support/TestSupport.h"
#include "support/LogCapture.h"

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

using testsupport::WaitFor;

namespace {

constexpr std::chrono::seconds kWholeRun(300);

class ElementTestsCommandTest : public ::testing::Test {
protected:
    ElementTestsCommandTest()
        : hub_(boost::make_shared<ControlAndStatus>()), commander_(new PowerCommanderTop(hub_))
    {
    }

    testsupport::ScopedHome home_;
    boost::shared_ptr<ControlAndStatus> hub_;
    boost::shared_ptr<PowerCommanderTop> commander_;
};

// The log lines of each tested element, from its "Testing element" line to the end of its run.
std::map<std::string, std::vector<std::string>> Sections(const std::vector<std::string>& messages)
{
    const std::string opening = "Testing element : ";
    std::map<std::string, std::vector<std::string>> sections;
    std::vector<std::string>* current = nullptr;
    for (const std::string& message : messages) {
        if (message.rfind(opening, 0) == 0)
            current = &sections[message.substr(opening.size())];
        else if (message.empty())
            current = nullptr;
        else if (current)
            current->push_back(message);
    }
    return sections;
}

long long FrameCount(const std::vector<std::string>& section, const std::string& pad)
{
    const std::string prefix = "Frame count of " + pad + " : ";
    for (const std::string& message : section) {
        if (message.rfind(prefix, 0) == 0)
            return std::stoll(message.substr(prefix.size()));
    }
    return -1;
}

bool Contains(const std::vector<std::string>& messages, const std::string& message)
{
    return std::find(messages.begin(), messages.end(), message) != messages.end();
}

}  // namespace

TEST_F(ElementTestsCommandTest, RunsEveryCatalogueElementWithFramesFlowing)
{
    const long holders = hub_.use_count();
    LogCapture log;
    EXPECT_EQ(commander_->ParseCommand("test"), "Success");
    // The reply comes before the first element's one-second run is over.
    EXPECT_TRUE(commander_->IsTesting());
    EXPECT_FALSE(log.Contains("Testing element : Main Display"));
    ASSERT_TRUE(WaitFor([&] { return !commander_->IsTesting(); }, kWholeRun));

    const std::vector<std::string> messages = log.Messages();
    const std::map<std::string, std::vector<std::string>> sections = Sections(messages);
    for (const boost::shared_ptr<ElementMakerInterface>& maker : GetElementRegistry()) {
        const std::string name = maker->GetName();
        boost::shared_ptr<ElementBase> element;
        try {
            element = maker->Make();
        } catch (...) {
            // No such device here: the test reports the element and goes on.
            EXPECT_TRUE(Contains(messages, "Test failed for element : " + name)) << name;
            continue;
        }
        ASSERT_EQ(sections.count(name), 1u) << name;
        const std::vector<std::string>& section = sections.at(name);
        EXPECT_EQ(section.front(), "Connecting up sinks") << name;
        const ElementDescription description = ElementScanner::DescribeElement(element);
        bool fed = false;
        for (const PadDescription& pad : description.pads)
            fed = fed || (pad.is_input && pad.type == VideoFrame::GetTypeName());
        for (const PadDescription& pad : description.pads) {
            if (pad.type != VideoFrame::GetTypeName()) {
                EXPECT_EQ(FrameCount(section, pad.name), -1) << name << " " << pad.name;
                continue;
            }
            // Everything fed by a test pattern passes frames on to its discarding sinks
            // (within the one-second run; a sanitizer build may be too slow for that).
            if (fed && testsupport::kSanitizerSlowdown == 1)
                EXPECT_GT(FrameCount(section, pad.name), 0) << name << " " << pad.name;
            else
                EXPECT_GE(FrameCount(section, pad.name), 0) << name << " " << pad.name;
        }
    }
    // The run let go of everything it made.
    EXPECT_EQ(hub_.use_count(), holders);
}

// A second run waits for the first; destroying the commander interrupts and joins both,
// rig and all, instead of leaving them running detached.
TEST_F(ElementTestsCommandTest, DestroyingTheCommanderEndsRunningTests)
{
    LogCapture log;
    commander_->ParseCommand("test");
    commander_->ParseCommand("test");
    ASSERT_TRUE(WaitFor([&] { return log.Contains("Testing element : Tee"); }, kWholeRun));
    std::vector<std::string> messages = log.Messages();
    EXPECT_EQ(std::count(messages.begin(), messages.end(), "Testing element : Video Read"), 1);
    // Ended, not waited for: the runs stop before the rest of the catalogue.
    commander_.reset();
    // Only this test and the registry's makers still hold the hub: the runs let go of theirs.
    EXPECT_EQ(hub_.use_count(), 1 + static_cast<long>(GetElementRegistry().size()));
    messages = log.Messages();
    EXPECT_EQ(std::count(messages.begin(), messages.end(), "Testing element : Video Read"), 1);
    EXPECT_FALSE(Contains(messages, "Testing element : Main Display"));
}

std::size_t ThreadCount()
{
    std::size_t count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/task")) {
        (void)entry;
        ++count;
    }
    return count;
}

// A peer repeating "test" must not queue a thread per line.
TEST_F(ElementTestsCommandTest, FurtherRequestsJoinTheWaitingRun)
{
    LogCapture log;
    ASSERT_EQ(commander_->ParseCommand("test"), "Success");
    ASSERT_TRUE(WaitFor([&] { return log.Contains("Testing element : "); }, kWholeRun));
    ASSERT_EQ(commander_->ParseCommand("test"), "Success");
    const std::size_t threads = ThreadCount();
    for (int i = 0; i < 500; ++i)
        ASSERT_EQ(commander_->ParseCommand("test"), "Success");
    EXPECT_LE(ThreadCount(), threads + 2);
}

namespace {

// Reachable at exit, so neither is a leak: the process ends with both alive, as File >
// Exit ends it.
boost::shared_ptr<ControlAndStatus>* exit_hub = nullptr;

void ExitDuringTest()
{
    exit_hub = new boost::shared_ptr<ControlAndStatus>(boost::make_shared<ControlAndStatus>());
    boost::shared_ptr<PowerCommanderTop> commander(new PowerCommanderTop(*exit_hub));
    (*exit_hub)->SetCommander(commander);
    LogCapture log;
    commander->ParseCommand("test");
    commander.reset();
    WaitFor([&] { return log.Contains("Testing element : Blur"); }, kWholeRun);
    std::exit(0);
}

// File > Exit with a run going and a second waiting for its turn; the commander stays.
boost::shared_ptr<PowerCommanderTop>* exit_commander = nullptr;

void ExitDuringTwoTests()
{
    exit_hub = new boost::shared_ptr<ControlAndStatus>(boost::make_shared<ControlAndStatus>());
    exit_commander = new boost::shared_ptr<PowerCommanderTop>(new PowerCommanderTop(*exit_hub));
    LogCapture log;
    (*exit_commander)->ParseCommand("test");
    (*exit_commander)->ParseCommand("test");
    WaitFor([&] { return log.Contains("Testing element : Blur"); }, kWholeRun);
    std::exit(0);
}

}  // namespace

TEST_F(ElementTestsCommandTest, ProcessExitingWithARunWaitingExitsCleanly)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(ExitDuringTwoTests(), ::testing::ExitedWithCode(0), "");
}

TEST_F(ElementTestsCommandTest, ProcessExitingDuringATestExitsCleanly)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(ExitDuringTest(), ::testing::ExitedWithCode(0), "");
}
