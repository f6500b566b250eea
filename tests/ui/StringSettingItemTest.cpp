// The plain text editor: it starts with the stored text and writes every change,
// announcing each once (the update signal with its flag).
#include "ui/settings/StringSettingItem.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

TEST(StringSettingItemTest, WritesEveryKeystroke)
{
    for (const bool emit_update : {true, false}) {
        std::string name = "old";
        StringSettingItem editor(&name, "Name", nullptr, emit_update);
        EXPECT_EQ(editor.LineEdit()->text(), "old");
        QSignalSpy changes(&editor, SIGNAL(ValueChanged()));
        QSignalSpy updates(&editor, SIGNAL(UpdateSettingsSignal()));
        editor.LineEdit()->clear();
        QTest::keyClicks(editor.LineEdit(), "new");
        EXPECT_EQ(name, "new");
        EXPECT_EQ(changes.count(), 4);  // the clear, then one per key
        EXPECT_EQ(updates.count(), emit_update ? 4 : 0);
    }
}
