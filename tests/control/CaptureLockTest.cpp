// The process-wide capture lock: one open at a time, and the "test" command's camera
// probe beside a pipeline whose "Video Read" opens its file on every restart.
#include "control/PowerCommanderTop.h"

#include "../elements/VideoFixtures.h"
#include "support/LogCapture.h"
#include "core/ControlAndStatus.h"
#include "elements/CaptureLock.h"
#include "elements/OpenCvVideoCapture.h"
#include "support/TestSupport.h"

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>

using testsupport::WaitFor;

namespace {

TEST(CaptureLockTest, AnOpenWaitsForTheLock)
{
    testsupport::TempDir dir;
    const std::string path = dir.File("clip.avi");
    ASSERT_FALSE(videofixtures::WriteLosslessVideo(path, 3, 10.0).empty());
    std::atomic<bool> opened{false};
    std::unique_lock<std::mutex> held(CaptureLock());
    std::thread opening([&] {
        OpenCvVideoCapture capture;
        opened = capture.Open(path);
    });
    // Long enough for an unguarded open of a three-frame file many times over.
    EXPECT_FALSE(WaitFor([&] { return opened.load(); }, std::chrono::milliseconds(300)));
    held.unlock();
    EXPECT_TRUE(WaitFor([&] { return opened.load(); }));
    opening.join();
}

// Each round: a "Video Read" pipeline, then "test" (whose first elements open the
// camera and a video file on the test thread) while this thread restarts the
// pipeline, reopening its file, until the test run is past them. The file decodes
// nowhere, so every back end is tried on it, the camera ones too, as for the probe.
TEST(CaptureLockTest, ElementTestsBesideRestartsOfAVideoRead)
{
    testsupport::ScopedHome home;
    testsupport::TempDir dir;
    const std::string path = dir.File("clip.avi");
    std::ofstream(path) << "not a video";
    auto hub = boost::make_shared<ControlAndStatus>();
    for (int round = 0; round < 3; ++round) {
        auto commander = boost::make_shared<PowerCommanderTop>(hub);
        ASSERT_EQ(commander->ParseCommand("make \"Video Read\""), "Video Read_0");
        ASSERT_EQ(commander->ParseCommand("set \"Video Read_0\" _file_path " + path), "Success");
        ASSERT_EQ(commander->ParseCommand("buildlink \"Video Read_0\" Tee"), "Tee_0");
        LogCapture log;
        commander->ParseCommand("test");
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        int restarts = 0;
        while (!log.Contains("Testing element : Tee") && std::chrono::steady_clock::now() < deadline) {
            ASSERT_EQ(commander->ParseCommand("restart"), "Success");
            ++restarts;
        }
        EXPECT_TRUE(log.Contains("Testing element : Tee")) << "round " << round;
        EXPECT_GT(restarts, 0);
        commander.reset();
    }
}

}  // namespace
