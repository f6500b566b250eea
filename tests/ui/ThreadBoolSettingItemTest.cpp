// The yes/no editor: a toggle writes, emits, then fires the back-end signal last, so
// a reset-pipeline handler that queues this editor's deletion is safe.
#include "ui/settings/ThreadBoolSettingItem.h"

#include <QCheckBox>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

TEST(ThreadBoolSettingItemTest, BuildingShowsTheValueAndWritesNothing)
{
    for (const bool stored : {true, false}) {
        ThreadSafeVariable<bool> flag(stored);
        boost::signals2::signal<void()> reset;
        int fired = 0;
        reset.connect([&] { ++fired; });
        ThreadBoolSettingItem editor(&flag, "Enabled", nullptr, true, &reset);
        EXPECT_EQ(editor.CheckBox()->isChecked(), stored);
        EXPECT_EQ(editor.CheckBox()->text(), "Enabled");
        EXPECT_EQ(fired, 0);
    }
}

TEST(ThreadBoolSettingItemTest, AToggleWritesEmitsAndFiresTheSignalLast)
{
    ThreadSafeVariable<bool> flag(false);
    boost::signals2::signal<void()> reset;
    std::vector<std::string> order;
    reset.connect([&] { order.push_back(flag.Get() ? "reset:on" : "reset:off"); });
    ThreadBoolSettingItem editor(&flag, "Enabled", nullptr, true, &reset);
    QObject::connect(&editor, &GUISettingItem::UpdateSettingsSignal, [&] { order.push_back("update"); });
    QTest::mouseClick(editor.CheckBox(), Qt::LeftButton);
    EXPECT_TRUE(flag.Get());
    EXPECT_EQ(order, (std::vector<std::string>{"update", "reset:on"}));
}

TEST(ThreadBoolSettingItemTest, WithoutTheFlagOnlyValueChangedIsEmitted)
{
    ThreadSafeVariable<bool> flag(false);
    ThreadBoolSettingItem editor(&flag, "Enabled", nullptr, false);
    QSignalSpy updates(&editor, SIGNAL(UpdateSettingsSignal()));
    QSignalSpy changes(&editor, SIGNAL(ValueChanged()));
    editor.CheckBox()->toggle();
    EXPECT_TRUE(flag.Get());
    EXPECT_EQ(updates.count(), 0);
    EXPECT_EQ(changes.count(), 1);
}

TEST(ThreadBoolSettingItemTest, AResetHandlerMayQueueTheEditorsDeletion)
{
    ThreadSafeVariable<bool> flag(false);
    boost::signals2::signal<void()> reset;
    auto* editor = new ThreadBoolSettingItem(&flag, "Enabled", nullptr, true, &reset);
    QPointer<ThreadBoolSettingItem> watch(editor);
    reset.connect([editor] { editor->deleteLater(); });
    QTest::mouseClick(editor->CheckBox(), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return watch.isNull(); }, 5000));
    EXPECT_TRUE(flag.Get());
}
