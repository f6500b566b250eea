// The plain floating-point editor: slider units map to value x scale + offset, the spin
// box maps back, and each change is announced once (the update signal with its flag).
#include "ui/settings/DoubleSettingItem.h"

#include <QDoubleSpinBox>
#include <QSignalSpy>
#include <QSlider>
#include <gtest/gtest.h>

TEST(DoubleSettingItemTest, StartsAtTheStoredValue)
{
    double level = 30.0;
    DoubleSettingItem editor(&level, "Level", 10.0, 60.0, nullptr);
    EXPECT_DOUBLE_EQ(editor.Scale(), 0.05);
    EXPECT_DOUBLE_EQ(editor.Offset(), 10.0);
    EXPECT_EQ(editor.Slider()->value(), 400);
    EXPECT_DOUBLE_EQ(editor.SpinBox()->value(), 30.0);
    EXPECT_EQ(level, 30.0);
}

TEST(DoubleSettingItemTest, EachControlWritesAndMovesTheOther)
{
    struct Case {
        bool from_slider;
        double input;
        double value;
        int slider;
    };
    const Case cases[] = {
        {true, 200, 20.0, 200}, {true, 1000, 60.0, 1000}, {false, 35.0, 35.0, 500}, {false, 10.0, 10.0, 0}};
    for (const bool emit_update : {true, false}) {
        for (const Case& c : cases) {
            double level = 30.0;
            DoubleSettingItem editor(&level, "Level", 10.0, 60.0, nullptr, emit_update);
            QSignalSpy changes(&editor, SIGNAL(ValueChanged()));
            QSignalSpy updates(&editor, SIGNAL(UpdateSettingsSignal()));
            if (c.from_slider)
                editor.Slider()->setValue(static_cast<int>(c.input));
            else
                editor.SpinBox()->setValue(c.input);
            EXPECT_DOUBLE_EQ(level, c.value) << c.input;
            EXPECT_EQ(editor.Slider()->value(), c.slider);
            EXPECT_DOUBLE_EQ(editor.SpinBox()->value(), c.value);
            EXPECT_EQ(changes.count(), 1);
            EXPECT_EQ(updates.count(), emit_update ? 1 : 0);
        }
    }
}
