// File > Exit: the process ends at once with status 0 while a pipeline and the element
// tests run, after their threads have stopped, and nothing is saved; neither Exit nor the
// ordinary close leaves a thread drawing previews while the process's static objects go.
// A program of its own, so the children it forks have no other test's threads.
#include "MainWindowTestSupport.h"

#include "control/PowerCommanderTop.h"
#include "core/ControlAndStatus.h"
#include "core/CvToQtRescaler.h"
#include "core/PreviewSettings.h"
#include "core/WorkerPool.h"
#include "ui/shell/MainWindow.h"
#include "ui/shell/ProgramEntry.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QTimer>

#include <boost/make_shared.hpp>

#include <gtest/gtest.h>

#include <opencv2/imgcodecs.hpp>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <sstream>
#include <vector>

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

namespace {

// A picture big enough that each preview's rescale takes a while.
std::string WriteLargeImage(const std::string& folder)
{
    QImage image(1920, 1080, QImage::Format_RGB888);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x % 256, y % 256, (x ^ y) % 256));
    const std::string path = folder + "/large.png";
    image.save(QString::fromStdString(path));
    return path;
}

// "Image Read" and a chain of blurs behind it, running, each with a preview asked for at the
// highest rate; returns once every preview has drawn.
void StartDrawingPreviews(const boost::shared_ptr<ControlAndStatus>& hub, MainWindow& window,
                          const std::string& image)
{
    hub->GetSharedControl<PreviewSettings>("")->max_preview_framerate.Set(60.0);
    PowerCommanderTop& commander = *hub->GetCommander();
    std::string last = commander.MakeElement("Image Read", "");
    commander.GetElement(last)->settings.SetValue("_file_path", image, "");
    for (int i = 0; i < 5; ++i) {
        const std::string blur = commander.MakeElement("Blur", "");
        commander.ConnectElements(last, blur);
        last = blur;
    }
    commander.Start();
    window.NodeEditor()->UpdateFromBackend();
    windowtest::SettleEditor(*window.NodeEditor());
    if (!testsupport::WaitFor([&] {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            return windowtest::FramesPassed(commander) > 20;
        }))
        std::_Exit(3);
}

// Rescales for a preview as wide as a large screen, still under way when the process is told to
// end: each takes a good while.
void PostLargeRescales(const std::string& image)
{
    const cv::Mat frame = cv::imread(image);
    for (int i = 0; i < 4 * GlobalWorkerPool().WorkerCount(); ++i)
        GlobalWorkerPool().Post([frame] {
            CvToQtRescaler rescaler;
            rescaler.SetHighQuality(true);
            rescaler.SetWidth(3840, frame.size());
            rescaler.Shrink(frame);
            rescaler.Convert();
        });
}

MainWindow* TheMainWindow()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (MainWindow* window = qobject_cast<MainWindow*>(widget))
            return window;
    return nullptr;
}

// File > Exit after delay_ms of drawing.
void ExitWhileDrawing(const std::string& image, int delay_ms)
{
    auto hub = boost::make_shared<ControlAndStatus>();
    MainWindow window(hub);
    window.show();
    StartDrawingPreviews(hub, window, image);
    QTimer::singleShot(delay_ms, [&window, image] {
        PostLargeRescales(image);
        window.findChild<QAction*>("actionExit")->trigger();
    });
    QApplication::exec();
    std::_Exit(4);  // not reached: Exit ends the process
}

// The window closed after delay_ms of drawing; then the process ends as main ends it.
void CloseWhileDrawing(const std::string& image, int delay_ms)
{
    auto hub = boost::make_shared<ControlAndStatus>();
    QTimer::singleShot(0, [&] {
        MainWindow* window = TheMainWindow();
        StartDrawingPreviews(hub, *window, image);
        // The last rescales come as the window goes.
        QObject::connect(window, &QObject::destroyed, [image] { PostLargeRescales(image); });
        QTimer::singleShot(delay_ms, window, [window] { window->close(); });
    });
    const int result = RunMainWindow(hub);
    hub.reset();
    std::exit(result);
}

// Runs the child's body in a forked process with its own home and working folders, its output
// in log; returns its pid.
pid_t StartChild(const std::function<void()>& body, const std::string& folder, const std::string& log)
{
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid != 0)
        return pid;
    const int fd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0 || ::dup2(fd, STDOUT_FILENO) < 0 || ::dup2(fd, STDERR_FILENO) < 0)
        ::_exit(90);
    std::filesystem::create_directories(folder + "/home");
    std::filesystem::create_directories(folder + "/work");
    ::setenv("HOME", (folder + "/home").c_str(), 1);
    std::filesystem::current_path(folder + "/work");
    body();
    ::_exit(91);
}

std::string ExitText(int status)
{
    std::ostringstream text;
    if (WIFEXITED(status))
        text << "exit status " << WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        text << "signal " << WTERMSIG(status);
    return text.str();
}

std::string Tail(const std::string& path)
{
    std::ifstream file(path);
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return text.size() > 3000 ? text.substr(text.size() - 3000) : text;
}

struct EndCase {
    const char* name;
    void (*child)(const std::string& image, int delay_ms);
    int runs;
};

class EndWhileDrawing : public ::testing::TestWithParam<EndCase> {};

// Each run ends the process at a random moment of drawing; a few children run side by side.
TEST_P(EndWhileDrawing, EveryChildExitsWithStatusZero)
{
    constexpr std::size_t kSideBySide = 4;
    constexpr int kLongestDelayMs = 300;
    const unsigned seed = std::random_device()();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> delay(0, kLongestDelayMs);
    testsupport::TempDir dir;
    const std::string image = WriteLargeImage(dir.Path());

    struct Running {
        pid_t pid;
        int run;
        int delay_ms;
    };
    std::vector<Running> running;
    // Whether a child has ended; each ended child is checked.
    const auto reap = [&] {
        const std::size_t before = running.size();
        for (auto it = running.begin(); it != running.end();) {
            int status = 0;
            if (::waitpid(it->pid, &status, WNOHANG) != it->pid) {
                ++it;
                continue;
            }
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
                << "run " << it->run << " after " << it->delay_ms << " ms: " << ExitText(status) << "\n"
                << Tail(dir.File("child-" + std::to_string(it->run) + ".log"));
            it = running.erase(it);
        }
        return running.size() < before;
    };
    int started = 0;
    while (started < GetParam().runs || !running.empty()) {
        for (; started < GetParam().runs && running.size() < kSideBySide; ++started) {
            const int delay_ms = delay(random);
            const std::string name = dir.File("child-" + std::to_string(started));
            const pid_t pid = StartChild([&] { GetParam().child(image, delay_ms); }, name, name + ".log");
            ASSERT_GT(pid, 0);
            running.push_back({pid, started, delay_ms});
        }
        // A child that hangs in its exit (on a library state already destroyed) fails as well.
        if (!testsupport::WaitFor(reap, std::chrono::seconds(12 * testsupport::kSanitizerSlowdown))) {
            for (const Running& child : running) {
                ::kill(child.pid, SIGKILL);
                ::waitpid(child.pid, nullptr, 0);
            }
            FAIL() << running.size() << " children did not end";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, EndWhileDrawing,
                         ::testing::Values(EndCase{"Exit", ExitWhileDrawing, 30},
                                           EndCase{"Close", CloseWhileDrawing, 20}),
                         [](const ::testing::TestParamInfo<EndCase>& info) { return info.param.name; });

}  // namespace
