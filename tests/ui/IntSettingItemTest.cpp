// The plain integer editor: slider and spin box write the value, show it in each other
// and announce it once (the update signal with its flag).
#include "ui/settings/IntSettingItem.h"

#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <gtest/gtest.h>

TEST(IntSettingItemTest, EitherControlWritesAndMovesTheOther)
{
    for (const bool emit_update : {true, false}) {
        for (const bool from_slider : {true, false}) {
            int count = 3;
            IntSettingItem editor(&count, "Count", 0, 20, nullptr, emit_update);
            EXPECT_EQ(editor.Slider()->value(), 3);
            EXPECT_EQ(editor.SpinBox()->value(), 3);
            QSignalSpy changes(&editor, SIGNAL(ValueChanged()));
            QSignalSpy updates(&editor, SIGNAL(UpdateSettingsSignal()));
            if (from_slider)
                editor.Slider()->setValue(17);
            else
                editor.SpinBox()->setValue(17);
            EXPECT_EQ(count, 17);
            EXPECT_EQ(editor.Slider()->value(), 17);
            EXPECT_EQ(editor.SpinBox()->value(), 17);
            EXPECT_EQ(changes.count(), 1);
            EXPECT_EQ(updates.count(), emit_update ? 1 : 0);
        }
    }
}

TEST(IntSettingItemTest, BothControlsHoldTheRange)
{
    int count = 3;
    IntSettingItem editor(&count, "Count", 0, 20, nullptr);
    editor.SpinBox()->setValue(50);
    EXPECT_EQ(count, 20);
    editor.Slider()->setValue(-4);
    EXPECT_EQ(count, 0);
}
