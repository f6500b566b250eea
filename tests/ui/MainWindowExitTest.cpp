// File > Exit: the process ends at once with status 0 while a pipeline and the element
// tests run, after their threads have stopped, and nothing is saved. A program of its own,
// so the death test forks a process that has no other test's threads.
#include "MainWindowTestSupport.h"

#include "control/PowerCommanderTop.h"
#include "core/ControlAndStatus.h"
#include "ui/shell/MainWindow.h"

#include <QAction>

#include <boost/make_shared.hpp>

#include <gtest/gtest.h>

#include <filesystem>

TEST(MainWindowExitDeathTest, ExitEndsWithStatusZeroStopsTheThreadsAndSavesNothing)
{
    testing::FLAGS_gtest_death_test_style = "fast";
    windowtest::ScopedUserFolder folder;
    testsupport::TempDir images;
    const std::string image = windowtest::WriteFixtureImage(images.Path());
    EXPECT_EXIT(
        {
            auto hub = boost::make_shared<ControlAndStatus>();
            MainWindow window(hub);
            window.show();
            PowerCommanderTop& commander = *hub->GetCommander();
            windowtest::BuildImagePipeline(commander, *window.NodeEditor(), image);
            commander.ParseCommand("test");
            if (!testsupport::WaitFor([&] { return windowtest::FramesPassed(commander) > 2; }))
                std::_Exit(3);
            window.findChild<QAction*>("actionExit")->trigger();
            std::_Exit(4);  // not reached: Exit ends the process
        },
        testing::ExitedWithCode(0), "");

    // No pipeline file, no settings file, no splitter state (libraries may keep caches).
    std::vector<std::string> written;
    for (const std::string& place : {folder.OrvaneFolder(), folder.Home() + "/.config"})
        if (std::filesystem::exists(place))
            for (const auto& entry : std::filesystem::recursive_directory_iterator(place))
                if (entry.is_regular_file())
                    written.push_back(entry.path().string());
    EXPECT_TRUE(written.empty()) << written.front();
}
