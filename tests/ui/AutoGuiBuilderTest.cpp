// The settings page of a shared record: its editors, and that an edit fires the record's
// settings-changed signal without touching its settings-changed flag.
#include "ui/settings/panels/AutoGuiBuilder.h"

#include "PanelFixture.h"
#include "core/FrameRateSettings.h"
#include "ui/settings/GUISettingItem.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QPointer>
#include <QTest>

#include <string>
#include <vector>

namespace {

class AutoGuiBuilderTest : public PanelFixture {
protected:
    static std::vector<std::string> EditorKinds(QWidget& page)
    {
        std::vector<std::string> kinds;
        for (GUISettingItem* editor : page.findChildren<GUISettingItem*>())
            kinds.push_back(editor->metaObject()->className());
        return kinds;
    }
};

// A record with a yes/no setting whose change asks for the pipeline to be rebuilt.
class RebuildingRecord : public ControlBaseClass {
public:
    RebuildingRecord() : ControlBaseClass("RebuildingRecord")
    {
        settings.AddSetting("_rebuild", &rebuild, "signal=reset-pipeline");
    }
    ThreadSafeVariable<bool> rebuild{false};
};

}  // namespace

TEST_F(AutoGuiBuilderTest, FrameRateChangeFiresTheRecordSignalAndLeavesTheFlag)
{
    const boost::shared_ptr<FrameRateSettings> record = hub_->GetSharedControl<FrameRateSettings>("");
    record->settings_changed_flag.Set(false);
    int signals_fired = 0;
    boost::signals2::scoped_connection counter =
        record->settings_changed_signal.connect([&] { ++signals_fired; });
    AutoGuiBuilder page(hub_, nullptr, record);
    page.resize(400, 300);
    page.show();

    // No editor for either "_setting_name".
    EXPECT_EQ(EditorKinds(page),
              (std::vector<std::string>{"ThreadBoolSettingItem", "ThreadDoubleSettingItem"}));
    ASSERT_NE(FindLabel(page, "Global Frame Rate"), nullptr);
    QCheckBox* limit = page.findChild<QCheckBox*>();
    ASSERT_NE(limit, nullptr);
    EXPECT_EQ(limit->text(), "Limit Frame Rate");

    limit->click();
    EXPECT_TRUE(record->limit_frame_rate.Get());
    EXPECT_EQ(signals_fired, 1);
    page.findChild<QDoubleSpinBox*>()->setValue(12.5);
    EXPECT_DOUBLE_EQ(record->global_frame_rate.Get(), 12.5);
    EXPECT_EQ(signals_fired, 2);
    EXPECT_FALSE(record->settings_changed_flag.Get());
}

TEST_F(AutoGuiBuilderTest, EmptyControlGivesAnEmptyPage)
{
    AutoGuiBuilder page(hub_, nullptr, boost::shared_ptr<ControlBaseClass>());
    page.show();
    EXPECT_TRUE(page.findChildren<QWidget*>().isEmpty());
}

// Whoever rebuilds on the hub's reset signal queues the rebuild; the editor that fired
// it finishes its slot first, so the page can go without touching freed memory.
TEST_F(AutoGuiBuilderTest, ResetSignalLetsTheRebuildBeQueued)
{
    const auto record = boost::make_shared<RebuildingRecord>();
    auto* page = new AutoGuiBuilder(hub_, nullptr, record);
    const QPointer<AutoGuiBuilder> watched = page;
    int record_signals = 0;
    boost::signals2::scoped_connection changed =
        record->settings_changed_signal.connect([&] { ++record_signals; });
    boost::signals2::scoped_connection reset =
        hub_->reset_pipeline_signal.connect([page] { page->deleteLater(); });
    page->show();

    page->findChild<QCheckBox*>()->click();
    EXPECT_TRUE(record->rebuild.Get());
    EXPECT_EQ(record_signals, 1);
    ASSERT_FALSE(watched.isNull());
    EXPECT_TRUE(testsupport::WaitFor([&] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return watched.isNull();
    }));
}
