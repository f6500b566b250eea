// The path pickers: which dialogue each opens and where, that it (and the colour
// picker) opens on a click, not on the press, that cancelling changes nothing, and that
// an editor removed while its dialogue is open is never written through.
#include "support/TestSupport.h"
#include "ui/ModalDialogues.h"
#include "ui/MouseEvents.h"
#include "ui/settings/FileSelectWidget.h"
#include "ui/settings/ThreadColourSettingItem.h"

#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <fstream>
#include <memory>

namespace {

struct ModeCase {
    bool directory, save;
    QString title;
    bool existing_file, dirs_only;
    QFileDialog::AcceptMode accept_mode;
};

const ModeCase kModes[] = {
    {false, false, "Open File", true, false, QFileDialog::AcceptOpen},
    {false, true, "Save File", false, false, QFileDialog::AcceptSave},
    {true, false, "Open Directory", false, true, QFileDialog::AcceptOpen},
};

}  // namespace

TEST(FileSelectWidgetTest, ACancelledDialogueChangesNothing)
{
    for (const ModeCase& m : kModes) {
        testsupport::TempDir dir;
        const std::string start = dir.File("old.avi");
        ThreadSafeVariable<std::string> path(start);
        FileSelectWidget editor(&path, "Video File", nullptr, true, m.directory, m.save);
        EXPECT_EQ(editor.PathLabel()->text(), QString::fromStdString(start));
        QSignalSpy updates(&editor, SIGNAL(UpdateSettingsSignal()));

        QString title;
        bool existing_file = false;
        bool dirs_only = false;
        QFileDialog::AcceptMode accept_mode = QFileDialog::AcceptOpen;
        QString directory;
        ASSERT_TRUE(testsupport::ClickAndAnswer(editor.Button(), [&](QWidget* d) {
            auto* dialogue = qobject_cast<QFileDialog*>(d);
            ASSERT_NE(dialogue, nullptr);
            title = dialogue->windowTitle();
            existing_file = dialogue->fileMode() == QFileDialog::ExistingFile;
            dirs_only = dialogue->testOption(QFileDialog::ShowDirsOnly);
            accept_mode = dialogue->acceptMode();
            directory = dialogue->directory().absolutePath();
            dialogue->reject();
        }));

        EXPECT_EQ(title, m.title);
        EXPECT_EQ(existing_file, m.existing_file) << m.title.toStdString();
        EXPECT_EQ(dirs_only, m.dirs_only) << m.title.toStdString();
        EXPECT_EQ(accept_mode, m.accept_mode) << m.title.toStdString();
        EXPECT_EQ(directory, QString::fromStdString(dir.Path()));
        EXPECT_EQ(path.Get(), start);
        EXPECT_EQ(editor.PathLabel()->text(), QString::fromStdString(start));
        EXPECT_EQ(updates.count(), 0);
    }
}

TEST(FileSelectWidgetTest, AChosenFolderIsWrittenShownAndAnnouncedOnce)
{
    testsupport::TempDir dir;
    const QString chosen = QString::fromStdString(dir.File("chosen"));
    ASSERT_TRUE(QDir().mkdir(chosen));
    ThreadSafeVariable<std::string> path("");
    FileSelectWidget editor(&path, "Folder", nullptr, true, true, false);
    EXPECT_EQ(editor.PathLabel()->text(), "Path Not Set");
    QSignalSpy updates(&editor, SIGNAL(UpdateSettingsSignal()));
    QSignalSpy values(&editor, SIGNAL(ValueChanged()));
    ASSERT_TRUE(values.isValid());
    ASSERT_TRUE(testsupport::ClickAndAnswer(editor.Button(), [&](QWidget* d) {
        auto* dialogue = qobject_cast<QFileDialog*>(d);
        dialogue->setDirectory(chosen);  // a folder dialogue returns the folder it is in
        QMetaObject::invokeMethod(dialogue, "accept");
    }));
    EXPECT_EQ(path.Get(), chosen.toStdString());
    EXPECT_EQ(editor.PathLabel()->text(), chosen);
    EXPECT_EQ(updates.count(), 1);
    EXPECT_EQ(values.count(), 0);  // declared only
}

// Both kinds of picker: the press alone opens nothing, the release that completes the
// click does. The dialogue is opened through a queued call, so one turn of the event
// loop after the press would show it.
TEST(FileSelectWidgetTest, OpensOnTheClickNotOnThePress)
{
    ThreadSafeVariable<std::string> path("");
    ThreadSafeVariable<cv::Scalar> colour(cv::Scalar(0, 0, 0, 0));
    FileSelectWidget file_editor(&path, "Video File", nullptr, true, false, false);
    ThreadColourSettingItem colour_editor(&colour, "Pick Colour", nullptr);
    const struct {
        const char* picker;
        QWidget* editor;
        QPushButton* button;
    } cases[] = {{"file", &file_editor, file_editor.Button()},
                 {"colour", &colour_editor, colour_editor.Button()}};
    for (const auto& c : cases) {
        c.editor->show();
        bool opened = false;
        testsupport::WhenModalOpens([&](QWidget* d) {
            opened = true;
            qobject_cast<QDialog*>(d)->reject();
        });
        const QPoint centre = c.button->rect().center();
        testsupport::Press(c.button, centre);
        QApplication::processEvents();
        EXPECT_FALSE(opened) << c.picker;
        testsupport::Release(c.button, centre);
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return opened && QApplication::activeModalWidget() == nullptr; }, 10000))
            << c.picker;
    }
}

TEST(FileSelectWidgetTest, AnEditorRemovedWhileItsDialogueIsOpenIsNotWritten)
{
    testsupport::TempDir dir;
    const std::string file = dir.File("clip.avi");
    std::ofstream(file) << "x";
    ThreadSafeVariable<std::string> path("");
    QWidget window;
    auto* editor = new FileSelectWidget(&path, "Video File", &window, true, false, false);
    ASSERT_TRUE(testsupport::ClickAndAnswer(editor->Button(), [&](QWidget* d) {
        EXPECT_EQ(d->parentWidget(), &window);
        delete editor;  // the panel was rebuilt meanwhile
        auto* dialogue = qobject_cast<QFileDialog*>(d);
        testsupport::ChooseFile(dialogue, QString::fromStdString(file));
        QMetaObject::invokeMethod(dialogue, "accept");
    }));
    QCoreApplication::processEvents();
    EXPECT_EQ(path.Get(), "");
}
