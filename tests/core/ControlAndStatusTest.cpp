#include "core/CameraControls.h"
#include "core/ControlAndStatus.h"
#include "core/FrameRateSettings.h"
#include "core/NodeControls.h"
#include "core/PreviewSettings.h"
#include "core/SharedGUI.h"
#include "support/BoundedChild.h"
#include "support/LogCapture.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <boost/make_shared.hpp>

#include <QCoreApplication>
#include <QDir>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>
#include <vector>

namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream(path) << text;
}

bool FileExists(const std::string& path)
{
    return std::ifstream(path).good();
}

// Everything in the folder, hidden names included, sorted by name.
QStringList Entries(const std::string& folder)
{
    return QDir(QString::fromStdString(folder))
        .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System | QDir::Hidden, QDir::Name);
}

// Counts constructions, so a test can see how many records of the type were made.
class CountedRecord : public ControlBaseClass {
public:
    CountedRecord() : ControlBaseClass("CountedRecord")
    {
        ++constructed;
        settings.AddSetting("_value", &value, "");
    }
    ~CountedRecord() override = default;

    ThreadSafeVariable<int> value{5};
    static std::atomic<int> constructed;
};
std::atomic<int> CountedRecord::constructed{0};

// Asks the hub for another record while it is made.
class AskingRecord : public ControlBaseClass {
public:
    AskingRecord() : ControlBaseClass("AskingRecord"), inner(hub->GetSharedControl<CountedRecord>("inner")) {}
    ~AskingRecord() override = default;

    boost::shared_ptr<CountedRecord> inner;
    static ControlAndStatus* hub;
};
ControlAndStatus* AskingRecord::hub = nullptr;

// Another type of the same name: it must not take the frame-rate record's file.
class ImpostorRecord : public ControlBaseClass {
public:
    ImpostorRecord() : ControlBaseClass("FrameRateSettings") { settings.AddSetting("_value", &value, ""); }
    ~ImpostorRecord() override = default;

    ThreadSafeVariable<int> value{3};
};

// Each registry record, made at its first request, and its file as saved with its initial values.
struct RecordCase {
    std::string name;
    std::string content;
    std::function<void(ControlAndStatus&)> make;
};

std::vector<RecordCase> RecordCases()
{
    return {
        {"FrameRateSettings",
         "_setting_name=FrameRateSettings\n_setting_name=FrameRateSettings\n_limit_frame_rate=0\n"
         "_global_frame_rate=30\n",
         [](ControlAndStatus& hub) { hub.GetSharedControl<FrameRateSettings>(""); }},
        {"PreviewSettings",
         "_setting_name=PreviewSettings\n_setting_name=PreviewSettings\n_max_preview_framerate=25\n"
         "_high_quality_rescaling=1\n",
         [](ControlAndStatus& hub) { hub.GetSharedControl<PreviewSettings>(""); }},
        {"CameraControls", "_setting_name=CameraControls\n_setting_name=CameraControls\n",
         [](ControlAndStatus& hub) { hub.GetSharedControl<CameraControls>(""); }},
        {"node controls", "_setting_name=node controls\n_setting_name=node controls\n",
         [](ControlAndStatus& hub) { hub.GetSharedControl<NodeControls>(""); }},
        {"shared gui", "_setting_name=shared gui\n_setting_name=shared gui\n",
         [](ControlAndStatus& hub) { hub.GetSharedGUI(); }},
    };
}

}  // namespace

TEST(ControlAndStatusTest, SettingsDirectoryIsMadeBelowHomeAndEndsInOneSlash)
{
    testsupport::ScopedHome home;
    const std::string expected =
        QDir::cleanPath(QString::fromStdString(home.Path())).toStdString() + "/orvane/";
    const std::string first = ControlAndStatus::GetSettingsDirectory();
    EXPECT_EQ(first, expected);
    EXPECT_TRUE(QDir(QString::fromStdString(first)).exists());
    EXPECT_EQ(ControlAndStatus::GetSettingsDirectory(), first);

    const std::string images = ControlAndStatus::GetImagesDirectory();
    EXPECT_EQ(images, expected + "images/");
    EXPECT_TRUE(QDir(QString::fromStdString(images)).exists());
}

TEST(ControlAndStatusTest, HubMakesTheSettingsDirectoryAtStart)
{
    testsupport::ScopedHome home;
    ControlAndStatus hub;
    EXPECT_TRUE(QDir(QString::fromStdString(home.Path() + "/orvane")).exists());
}

TEST(ControlAndStatusTest, SettingsDirectoryFollowsAChangedHome)
{
    testsupport::ScopedHome first;
    const std::string in_first = ControlAndStatus::GetSettingsDirectory();
    testsupport::ScopedHome second;
    EXPECT_NE(ControlAndStatus::GetSettingsDirectory(), in_first);
}

TEST(ControlAndStatusTest, SameTypeAndNameGiveOneRecordOtherNamesOrTypesAnother)
{
    testsupport::ScopedHome home;
    ControlAndStatus hub;
    auto a = hub.GetSharedControl<FrameRateSettings>("");
    auto b = hub.GetSharedControl<FrameRateSettings>("");
    auto named = hub.GetSharedControl<FrameRateSettings>("other");
    auto preview = hub.GetSharedControl<PreviewSettings>("");
    ASSERT_TRUE(a);
    EXPECT_EQ(a, b);
    EXPECT_NE(a, named);
    EXPECT_NE(static_cast<ControlBaseClass*>(a.get()), static_cast<ControlBaseClass*>(preview.get()));
}

TEST(ControlAndStatusTest, RecordReadsItsFileOnceWhenMade)
{
    testsupport::ScopedHome home;
    ControlAndStatus hub;
    const std::string path = ControlAndStatus::GetSettingsDirectory() + "FrameRateSettings.txt";
    WriteFile(path, "_limit_frame_rate=1\n_global_frame_rate=42\n");

    auto record = hub.GetSharedControl<FrameRateSettings>("");
    EXPECT_TRUE(record->limit_frame_rate.Get());
    EXPECT_DOUBLE_EQ(record->global_frame_rate.Get(), 42.0);

    record->global_frame_rate.Set(10.0);
    WriteFile(path, "_global_frame_rate=7\n");
    EXPECT_DOUBLE_EQ(hub.GetSharedControl<FrameRateSettings>("")->global_frame_rate.Get(), 10.0);
}

TEST(ControlAndStatusTest, RecordWithoutFileKeepsItsInitialValues)
{
    testsupport::ScopedHome home;
    ControlAndStatus hub;
    auto frame_rate = hub.GetSharedControl<FrameRateSettings>("");
    EXPECT_FALSE(frame_rate->limit_frame_rate.Get());
    EXPECT_DOUBLE_EQ(frame_rate->global_frame_rate.Get(), 30.0);
    auto preview = hub.GetSharedControl<PreviewSettings>("");
    EXPECT_DOUBLE_EQ(preview->max_preview_framerate.Get(), 25.0);
    EXPECT_TRUE(preview->high_quality_rescaling.Get());
    auto camera = hub.GetSharedControl<CameraControls>("");
    EXPECT_DOUBLE_EQ(camera->frame_rate.Get(), 0.0);
    EXPECT_EQ(camera->frame_count.Get(), 0);
    EXPECT_EQ(hub.GetSharedControl<NodeControls>("")->chosen_element_type.Get(), "");
}

// Each registry record writes its file, named after "_setting_name", with these lines.
TEST(ControlAndStatusTest, SaveAllWritesTheFileOfEveryRecordMade)
{
    const std::vector<RecordCase> cases = RecordCases();
    for (const RecordCase& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::ScopedHome home;
        ControlAndStatus hub;
        c.make(hub);
        hub.SaveAllControlSettings();
        EXPECT_EQ(ReadFile(ControlAndStatus::GetSettingsDirectory() + c.name + ".txt"), c.content);
        for (const RecordCase& other : cases) {
            if (other.name != c.name) {
                EXPECT_FALSE(FileExists(ControlAndStatus::GetSettingsDirectory() + other.name + ".txt"))
                    << other.name;
            }
        }
    }
}

// The file's place comes from the record itself, not from what an earlier file said.
TEST(ControlAndStatusTest, SettingsFileCannotMoveTheFileItIsSavedTo)
{
    for (const RecordCase& c : RecordCases()) {
        SCOPED_TRACE(c.name);
        testsupport::ScopedHome home;
        const std::string path = ControlAndStatus::GetSettingsDirectory() + c.name + ".txt";
        WriteFile(path, "_setting_name=../escaped-" + c.name + "\n");
        ControlAndStatus hub;
        LogCapture capture;
        c.make(hub);
        hub.SaveAllControlSettings();
        EXPECT_FALSE(FileExists(home.Path() + "/escaped-" + c.name + ".txt"));
        EXPECT_EQ(ReadFile(path), c.content);
        const std::vector<std::string> messages = capture.Messages();
        EXPECT_EQ(std::count(messages.begin(), messages.end(),
                             "Ignored the name ../escaped-" + c.name + " in the settings of " + c.name),
                  1);
    }
}

TEST(ControlAndStatusTest, SavedValuesAreReadByTheNextRun)
{
    testsupport::ScopedHome home;
    {
        ControlAndStatus hub;
        auto frame_rate = hub.GetSharedControl<FrameRateSettings>("");
        frame_rate->limit_frame_rate.Set(true);
        frame_rate->global_frame_rate.Set(12.5);
        auto preview = hub.GetSharedControl<PreviewSettings>("");
        preview->high_quality_rescaling.Set(false);
        preview->max_preview_framerate.Set(5.0);
        hub.SaveAllControlSettings();
    }
    ControlAndStatus hub;
    auto frame_rate = hub.GetSharedControl<FrameRateSettings>("");
    EXPECT_TRUE(frame_rate->limit_frame_rate.Get());
    EXPECT_DOUBLE_EQ(frame_rate->global_frame_rate.Get(), 12.5);
    auto preview = hub.GetSharedControl<PreviewSettings>("");
    EXPECT_FALSE(preview->high_quality_rescaling.Get());
    EXPECT_DOUBLE_EQ(preview->max_preview_framerate.Get(), 5.0);
}

TEST(ControlAndStatusTest, UnwritableFileKeepsTheOldFile)
{
    testsupport::ScopedHome home;
    ControlAndStatus hub;
    // A folder in the file's place cannot be opened for writing.
    const std::string path = ControlAndStatus::GetSettingsDirectory() + "FrameRateSettings.txt";
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(path)));
    hub.GetSharedControl<FrameRateSettings>("");
    EXPECT_NO_THROW(hub.SaveAllControlSettings());
    EXPECT_TRUE(QDir(QString::fromStdString(path)).exists());
}

TEST(ControlAndStatusTest, RecordsNeverShareAFile)
{
    testsupport::ScopedHome home;
    const std::string folder = ControlAndStatus::GetSettingsDirectory();
    {
        ControlAndStatus hub;
        LogCapture capture;
        hub.GetSharedControl<FrameRateSettings>("")->global_frame_rate.Set(12.5);
        hub.GetSharedControl<FrameRateSettings>("other")->global_frame_rate.Set(7.0);
        hub.GetSharedControl<ImpostorRecord>("");
        hub.GetSharedControl<FrameRateSettings>("../up")->global_frame_rate.Set(1.0);
        hub.SaveAllControlSettings();
        EXPECT_EQ(capture.LinesWith("[WARNING]"), 2) << capture.Text();
    }
    EXPECT_EQ(ReadFile(folder + "FrameRateSettings.txt"),
              "_setting_name=FrameRateSettings\n_setting_name=FrameRateSettings\n_limit_frame_rate=0\n"
              "_global_frame_rate=12.5\n");
    EXPECT_NE(ReadFile(folder + "FrameRateSettings-other.txt").find("_global_frame_rate=7\n"),
              std::string::npos);
    EXPECT_EQ(Entries(folder), (QStringList{"FrameRateSettings-other.txt", "FrameRateSettings.txt"}));
    EXPECT_EQ(Entries(home.Path()), QStringList{"orvane"});

    ControlAndStatus hub;
    EXPECT_DOUBLE_EQ(hub.GetSharedControl<FrameRateSettings>("")->global_frame_rate.Get(), 12.5);
    EXPECT_DOUBLE_EQ(hub.GetSharedControl<FrameRateSettings>("other")->global_frame_rate.Get(), 7.0);
}

// A file the read refuses (hand-edited to just over the size limit, say) holds the user's values:
// it goes aside, to the first free name, before the close writes the record; a second refused
// file does not replace the first one's copy.
TEST(ControlAndStatusTest, RefusedSettingsFileIsMovedAsideBeforeTheSaveWritesTheRecord)
{
    testsupport::ScopedHome home;
    const std::string folder = ControlAndStatus::GetSettingsDirectory();
    const std::string path = folder + "FrameRateSettings.txt";
    const std::string kept[] = {folder + "FrameRateSettings-unreadable.txt",
                                folder + "FrameRateSettings-unreadable-1.txt"};
    std::string contents[2];
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        contents[run] =
            "_global_frame_rate=1" + std::to_string(run) + "\n#" + std::string(1 << 20, 'x') + "\n";
        WriteFile(path, contents[run]);
        ControlAndStatus hub;
        LogCapture capture;
        EXPECT_DOUBLE_EQ(hub.GetSharedControl<FrameRateSettings>("")->global_frame_rate.Get(), 30.0);
        const std::vector<std::string> messages = capture.Messages();
        EXPECT_EQ(std::count(messages.begin(), messages.end(),
                             "The settings file " + path + " could not be read; it was moved aside to " +
                                 kept[run]),
                  1)
            << capture.Text();
        EXPECT_EQ(capture.LinesWith("[WARNING]"), 1);
        hub.SaveAllControlSettings();
        EXPECT_NE(ReadFile(path).find("_global_frame_rate=30\n"), std::string::npos);
    }
    EXPECT_EQ(ReadFile(kept[0]), contents[0]);
    EXPECT_EQ(ReadFile(kept[1]), contents[1]);
}

// When it cannot go aside, the close leaves it where it is.
TEST(ControlAndStatusTest, RefusedSettingsFileThatCannotMoveIsNotSavedOver)
{
    testsupport::ScopedHome home;
    const std::string folder = ControlAndStatus::GetSettingsDirectory();
    const std::string content = "_global_frame_rate=12\n#" + std::string(1 << 20, 'x') + "\n";
    WriteFile(folder + "FrameRateSettings.txt", content);
    WriteFile(folder + "FrameRateSettings-unreadable.txt", "");
    for (int i = 1; i < 1000; ++i)
        WriteFile(folder + "FrameRateSettings-unreadable-" + std::to_string(i) + ".txt", "");
    ControlAndStatus hub;
    LogCapture capture;
    hub.GetSharedControl<FrameRateSettings>("");
    hub.GetSharedControl<PreviewSettings>("");
    hub.SaveAllControlSettings();
    EXPECT_EQ(ReadFile(folder + "FrameRateSettings.txt"), content);
    EXPECT_TRUE(capture.Contains("it will not be saved over")) << capture.Text();
    EXPECT_TRUE(FileExists(folder + "PreviewSettings.txt"));
}

// A FIFO or an endless device in a settings file's place: the record is made at once with its
// initial values, the close does not wait either, and both leave the thing where it was.
TEST(ControlAndStatusTest, SettingsFileThatBlocksOrNeverEndsLeavesTheRecordAtItsDefaults)
{
    struct Case {
        std::string what;
        std::function<void(const std::string& path)> make;
    };
    const std::vector<Case> cases = {
        {"a FIFO", [](const std::string& path) { ASSERT_EQ(mkfifo(path.c_str(), 0600), 0); }},
        {"a link to /dev/zero",
         [](const std::string& path) { ASSERT_EQ(symlink("/dev/zero", path.c_str()), 0); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto checks = [&] {
            testsupport::ScopedHome home;
            const std::string path = ControlAndStatus::GetSettingsDirectory() + "FrameRateSettings.txt";
            c.make(path);
            struct stat before {};
            ASSERT_EQ(lstat(path.c_str(), &before), 0);
            ControlAndStatus hub;
            LogCapture capture;
            auto record = hub.GetSharedControl<FrameRateSettings>("");
            EXPECT_FALSE(record->limit_frame_rate.Get());
            EXPECT_DOUBLE_EQ(record->global_frame_rate.Get(), 30.0);
            EXPECT_EQ(capture.LinesWith("[ERROR]  Could not read the settings file " + path), 1);
            hub.SaveAllControlSettings();
            EXPECT_EQ(capture.LinesWith("[ERROR]  Could not write the settings file " + path), 1);
            EXPECT_EQ(capture.LinesWith("[ERROR]"), 2) << capture.Text();
            struct stat after {};
            ASSERT_EQ(lstat(path.c_str(), &after), 0);
            EXPECT_EQ(after.st_ino, before.st_ino);
            EXPECT_EQ(after.st_mode, before.st_mode);
        };
        EXPECT_BOUNDED_IN_CHILD(checks);
    }
}

// A write that fails part way (here the file-size limit; a full disk alike) leaves every old
// file as it was, each with an ERROR line that names it, and no temporary file behind.
TEST(ControlAndStatusTest, FailedSaveLeavesEveryOldFileWithAnError)
{
    const auto checks = [] {
        testsupport::ScopedHome home;
        const std::string folder = ControlAndStatus::GetSettingsDirectory();
        {
            ControlAndStatus hub;
            hub.GetSharedControl<FrameRateSettings>("")->global_frame_rate.Set(12.5);
            hub.GetSharedControl<PreviewSettings>("")->max_preview_framerate.Set(5.0);
            hub.SaveAllControlSettings();
        }
        const std::vector<std::string> paths = {folder + "FrameRateSettings.txt",
                                                folder + "PreviewSettings.txt"};
        std::vector<std::string> old_contents;
        for (const std::string& path : paths)
            old_contents.push_back(ReadFile(path));
        ASSERT_GT(old_contents[0].size(), 40u);

        ControlAndStatus hub;
        hub.GetSharedControl<FrameRateSettings>("")->global_frame_rate.Set(60.0);
        hub.GetSharedControl<PreviewSettings>("")->max_preview_framerate.Set(10.0);
        LogCapture capture;
        {
            testsupport::ScopedFileSizeLimit limit(40);
            hub.SaveAllControlSettings();
        }
        for (std::size_t i = 0; i < paths.size(); ++i) {
            EXPECT_EQ(ReadFile(paths[i]), old_contents[i]) << paths[i];
            EXPECT_EQ(capture.LinesWith("[ERROR]  Could not write the settings file " + paths[i]), 1)
                << capture.Text();
        }
        EXPECT_EQ(Entries(folder), (QStringList{"FrameRateSettings.txt", "PreviewSettings.txt"}));
    };
    EXPECT_BOUNDED_IN_CHILD(checks);
}

TEST(ControlAndStatusTest, ThreadsAskingAtOnceGetOneRecordMadeOnce)
{
    testsupport::ScopedHome home;
    WriteFile(ControlAndStatus::GetSettingsDirectory() + "CountedRecord.txt", "_value=9\n");
    constexpr int kThreads = 8;
    for (int round = 0; round < 50; ++round) {
        CountedRecord::constructed = 0;
        ControlAndStatus hub;
        std::atomic<int> arrived{0};
        std::vector<boost::shared_ptr<CountedRecord>> got(kThreads);
        std::vector<int> values(kThreads, 0);
        std::vector<std::thread> threads;
        for (int i = 0; i < kThreads; ++i) {
            threads.emplace_back([&, i] {
                ++arrived;
                while (arrived.load() < kThreads) {
                    std::this_thread::yield();
                }
                got[i] = hub.GetSharedControl<CountedRecord>("");
                values[i] = got[i]->value.Get();
            });
        }
        for (std::thread& thread : threads) {
            thread.join();
        }
        ASSERT_EQ(CountedRecord::constructed.load(), 1) << "round " << round;
        for (int i = 0; i < kThreads; ++i) {
            ASSERT_EQ(got[i], got[0]);
            // Nobody sees the record before its file was read.
            ASSERT_EQ(values[i], 9);
        }
    }
}

TEST(ControlAndStatusTest, RecordMayAskForAnotherWhileItIsMade)
{
    testsupport::ScopedHome home;
    // Left to a thread that hangs only when the registry deadlocks.
    ControlAndStatus* hub = new ControlAndStatus();
    AskingRecord::hub = hub;
    auto got = std::make_shared<boost::shared_ptr<AskingRecord>>();
    auto done = std::make_shared<std::atomic<bool>>(false);
    std::thread asker([hub, got, done] {
        *got = hub->GetSharedControl<AskingRecord>("");
        *done = true;
    });
    if (!testsupport::WaitFor([&] { return done->load(); }, std::chrono::seconds(5))) {
        asker.detach();
        FAIL() << "the hub deadlocked";
    }
    asker.join();
    ASSERT_TRUE(*got);
    EXPECT_EQ((*got)->inner, hub->GetSharedControl<CountedRecord>("inner"));
    EXPECT_EQ(hub->GetSharedControl<AskingRecord>(""), *got);
    got->reset();
    delete hub;
}

TEST(ControlAndStatusTest, SharedGUIIsTheRegistryRecordAndCached)
{
    testsupport::ScopedHome home;
    ControlAndStatus hub;
    SharedGUI* gui = hub.GetSharedGUI();
    ASSERT_NE(gui, nullptr);
    EXPECT_EQ(hub.GetSharedGUI(), gui);
    EXPECT_EQ(hub.GetSharedControl<SharedGUI>("").get(), gui);
    EXPECT_EQ(gui->settings.GetValueAsString("_setting_name"), "shared gui");
}

// Made first by another thread, the record still delivers its signals on the GUI thread.
TEST(ControlAndStatusTest, SharedGUIMadeOnAnotherThreadBelongsToTheApplicationThread)
{
    testsupport::ScopedHome home;
    static int argc = 1;
    static char name[] = "test";
    static char* argv[] = {name, nullptr};
    QCoreApplication application(argc, argv);
    ControlAndStatus hub;
    SharedGUI* gui = nullptr;
    std::thread maker([&] { gui = hub.GetSharedGUI(); });
    maker.join();
    ASSERT_NE(gui, nullptr);
    EXPECT_EQ(gui->thread(), application.thread());
}

TEST(ControlAndStatusTest, SharedGUIRequestedFromManyThreadsIsOne)
{
    testsupport::ScopedHome home;
    ControlAndStatus hub;
    std::vector<SharedGUI*> got(6, nullptr);
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < got.size(); ++i) {
        threads.emplace_back([&, i] { got[i] = hub.GetSharedGUI(); });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    for (SharedGUI* gui : got) {
        EXPECT_EQ(gui, got[0]);
    }
}

TEST(ControlAndStatusTest, HubHasNoCommanderUntilOneIsSet)
{
    testsupport::ScopedHome home;
    ControlAndStatus hub;
    EXPECT_EQ(hub.GetCommander(), nullptr);
}

TEST(ControlAndStatusTest, SignalsWithoutSlotsDoNothing)
{
    testsupport::ScopedHome home;
    ControlAndStatus hub;
    EXPECT_NO_THROW(hub.save_signal("default"));
    EXPECT_NO_THROW(hub.tick_signal());
    EXPECT_FALSE(hub.list_signal());
}

TEST(ControlAndStatusTest, SignalsReachTheirSlots)
{
    testsupport::ScopedHome home;
    ControlAndStatus hub;
    std::vector<std::string> saved;
    hub.save_signal.connect([&](std::string name) { saved.push_back(name); });
    hub.list_signal.connect([] { return std::vector<std::string>{"first"}; });
    hub.list_signal.connect([] { return std::vector<std::string>{"a", "b"}; });
    hub.save_signal("pipeline");
    EXPECT_EQ(saved, std::vector<std::string>{"pipeline"});
    const auto listed = hub.list_signal();
    ASSERT_TRUE(listed);
    EXPECT_EQ(*listed, (std::vector<std::string>{"a", "b"}));
}

TEST(ControlAndStatusTest, HubSettingsAreOnlyItsName)
{
    testsupport::ScopedHome home;
    ControlAndStatus hub;
    const auto pairs = hub.settings.GetNameValuePairs();
    ASSERT_EQ(pairs.size(), 2u);
    EXPECT_EQ(pairs[0].second, "main controls");
}

TEST(ControlAndStatusTest, DestructionAnnouncesItselfAndKeepsRecordsHeldElsewhere)
{
    testsupport::ScopedHome home;
    boost::shared_ptr<FrameRateSettings> kept;
    testing::internal::CaptureStdout();
    {
        ControlAndStatus hub;
        kept = hub.GetSharedControl<FrameRateSettings>("");
        kept->global_frame_rate.Set(50.0);
    }
    EXPECT_NE(testing::internal::GetCapturedStdout().find("Destroyed Control and Status\n"),
              std::string::npos);
    EXPECT_DOUBLE_EQ(kept->global_frame_rate.Get(), 50.0);
}

TEST(ControlAndStatusTest, RecordListsItsSettingsInRegistrationOrder)
{
    testsupport::ScopedHome home;
    ControlAndStatus hub;
    const auto items = hub.GetSharedControl<PreviewSettings>("")->settings.GetItems();
    std::vector<std::string> names;
    for (const ParameterItem& item : items) {
        names.push_back(item.name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"_setting_name", "_setting_name", "_max_preview_framerate",
                                               "_high_quality_rescaling"}));
}
