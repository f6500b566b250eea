// The line-edit editor shows its label above the box, writes every keystroke and
// never notifies the element.
#include "ui/settings/TextEditSettingItem.h"

#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

TEST(TextEditSettingItemTest, ThePersonSeesTheLabelAboveTheBox)
{
    ThreadSafeVariable<std::string> name("snapshot");
    TextEditSettingItem editor(&name, "File Name", nullptr);
    editor.resize(300, 80);
    editor.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));
    EXPECT_EQ(editor.Label()->text(), "File Name");
    EXPECT_TRUE(editor.Label()->isVisible());
    EXPECT_LT(editor.Label()->geometry().bottom(), editor.LineEdit()->geometry().top());

    // Text pixels: the label's area holds more than its background colour.
    const QImage shot = editor.grab(editor.Label()->geometry()).toImage();
    const QRgb background = shot.pixel(0, 0);
    int differing = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            differing += shot.pixel(x, y) != background;
    EXPECT_GT(differing, 20);
}

TEST(TextEditSettingItemTest, EveryKeystrokeWritesAndNothingIsEmitted)
{
    ThreadSafeVariable<std::string> name("a");
    TextEditSettingItem editor(&name, "File Name", nullptr);
    QSignalSpy updates(&editor, SIGNAL(UpdateSettingsSignal()));
    editor.LineEdit()->end(false);
    QTest::keyClick(editor.LineEdit(), Qt::Key_B);
    EXPECT_EQ(name.Get(), "ab");
    QTest::keyClick(editor.LineEdit(), Qt::Key_C);
    EXPECT_EQ(name.Get(), "abc");
    EXPECT_EQ(updates.count(), 0);
}

TEST(TextEditSettingItemTest, ARefreshWithTheSameTextKeepsTheCursor)
{
    ThreadSafeVariable<std::string> name("abcdef");
    TextEditSettingItem editor(&name, "File Name", nullptr);
    editor.LineEdit()->setCursorPosition(2);
    editor.SetFromVariable();
    EXPECT_EQ(editor.LineEdit()->cursorPosition(), 2);
}
