// The colour picker: the dialogue starts on the stored colour, belongs to the
// editor's window, and a cancel or a vanished editor changes nothing.
#include "ui/ModalDialogues.h"
#include "ui/settings/ThreadColourSettingItem.h"

#include <QColorDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

TEST(ThreadColourSettingItemTest, TheDialogueStartsOnTheStoredColourAndCancelKeepsIt)
{
    ThreadSafeVariable<cv::Scalar> colour(cv::Scalar(10, 20, 30, 0));  // blue, green, red
    QWidget window;
    auto* editor = new ThreadColourSettingItem(&colour, "Pick Colour", &window);
    QColor start;
    QString title;
    QWidget* parent = nullptr;
    ASSERT_TRUE(testsupport::ClickAndAnswer(editor->Button(), [&](QWidget* d) {
        auto* dialogue = qobject_cast<QColorDialog*>(d);
        ASSERT_NE(dialogue, nullptr);
        start = dialogue->currentColor();
        title = dialogue->windowTitle();
        parent = dialogue->parentWidget();
        dialogue->setCurrentColor(Qt::white);
        dialogue->reject();
    }));
    EXPECT_EQ(start, QColor(30, 20, 10));
    EXPECT_EQ(title, "Pick a colour. Any colour...");
    EXPECT_EQ(parent, &window);
    EXPECT_EQ(colour.Get(), cv::Scalar(10, 20, 30, 0));
}

TEST(ThreadColourSettingItemTest, AChosenColourIsWrittenAsBlueGreenRed)
{
    ThreadSafeVariable<cv::Scalar> colour(cv::Scalar(0, 0, 0, 0));
    ThreadColourSettingItem editor(&colour, "Pick Colour", nullptr);
    QSignalSpy updates(&editor, SIGNAL(UpdateSettingsSignal()));
    ASSERT_TRUE(testsupport::ClickAndAnswer(editor.Button(), [](QWidget* d) {
        auto* dialogue = qobject_cast<QColorDialog*>(d);
        dialogue->setCurrentColor(QColor(200, 100, 50));
        dialogue->accept();
    }));
    EXPECT_EQ(colour.Get(), cv::Scalar(50, 100, 200, 0));
    EXPECT_EQ(updates.count(), 0);
}

TEST(ThreadColourSettingItemTest, AnEditorRemovedWhileItsDialogueIsOpenIsNotWritten)
{
    ThreadSafeVariable<cv::Scalar> colour(cv::Scalar(1, 2, 3, 0));
    QWidget window;
    auto* editor = new ThreadColourSettingItem(&colour, "Pick Colour", &window);
    ASSERT_TRUE(testsupport::ClickAndAnswer(editor->Button(), [&](QWidget* d) {
        delete editor;  // the panel was rebuilt meanwhile
        auto* dialogue = qobject_cast<QColorDialog*>(d);
        dialogue->setCurrentColor(QColor(200, 100, 50));
        dialogue->accept();
    }));
    QCoreApplication::processEvents();
    EXPECT_EQ(colour.Get(), cv::Scalar(1, 2, 3, 0));
}
