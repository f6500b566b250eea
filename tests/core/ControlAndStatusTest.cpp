#include "core/CameraControls.h"
#include "core/ControlAndStatus.h"
#include "core/FrameRateSettings.h"
#include "core/NodeControls.h"
#include "core/PreviewSettings.h"
#include "core/SharedGUI.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include <QCoreApplication>
#include <QDir>

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
    struct Case {
        std::string file;
        std::string content;
        std::function<void(ControlAndStatus&)> make;
    };
    const std::vector<Case> cases = {
        {"FrameRateSettings.txt",
         "_setting_name=FrameRateSettings\n_setting_name=FrameRateSettings\n_limit_frame_rate=0\n"
         "_global_frame_rate=30\n",
         [](ControlAndStatus& hub) { hub.GetSharedControl<FrameRateSettings>(""); }},
        {"PreviewSettings.txt",
         "_setting_name=PreviewSettings\n_setting_name=PreviewSettings\n_max_preview_framerate=25\n"
         "_high_quality_rescaling=1\n",
         [](ControlAndStatus& hub) { hub.GetSharedControl<PreviewSettings>(""); }},
        {"CameraControls.txt", "_setting_name=CameraControls\n_setting_name=CameraControls\n",
         [](ControlAndStatus& hub) { hub.GetSharedControl<CameraControls>(""); }},
        {"node controls.txt", "_setting_name=node controls\n_setting_name=node controls\n",
         [](ControlAndStatus& hub) { hub.GetSharedControl<NodeControls>(""); }},
        {"shared gui.txt", "_setting_name=shared gui\n_setting_name=shared gui\n",
         [](ControlAndStatus& hub) { hub.GetSharedGUI(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        testsupport::ScopedHome home;
        ControlAndStatus hub;
        c.make(hub);
        hub.SaveAllControlSettings();
        EXPECT_EQ(ReadFile(ControlAndStatus::GetSettingsDirectory() + c.file), c.content);
        for (const Case& other : cases) {
            if (other.file != c.file) {
                EXPECT_FALSE(FileExists(ControlAndStatus::GetSettingsDirectory() + other.file)) << other.file;
            }
        }
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
