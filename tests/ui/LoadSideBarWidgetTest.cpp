// The list of saved pipelines against the real file store: it lists what is saved, a
// click loads the name, and the right-click menu's "Delete" removes file and row.
#include "FileStoreFixture.h"

#include "support/LogCapture.h"
#include "ui/sidepanel/LoadSideBarWidget.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <memory>

namespace {

// Runs code that opens a menu, then hands the menu to the action; false when no menu
// opened. A menu still open after the deadline is closed, so the test fails, not hangs.
bool RunAndChoose(const std::function<void()>& run, const std::function<void(QMenu*)>& action)
{
    constexpr int kDeadlineMs = 10000;
    auto opened = std::make_shared<bool>(false);
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [timer, opened, action] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr)
            return;
        timer->stop();
        timer->deleteLater();
        *opened = true;
        action(menu);
        const QPointer<QMenu> open(menu);
        QTimer::singleShot(kDeadlineMs, qApp, [open] {
            if (!open.isNull())
                open->close();
        });
    });
    timer->start(10);
    QTimer::singleShot(kDeadlineMs, timer, [timer] { timer->deleteLater(); });
    run();
    return *opened;
}

// Picks the entry with that text as a person would: highlight it, press Enter.
void Choose(QMenu* menu, const QString& text)
{
    for (QAction* action : menu->actions()) {
        if (action->text() == text)
            menu->setActiveAction(action);
    }
    QTest::keyClick(menu, Qt::Key_Return);
}

class LoadSideBarWidgetTest : public FileStoreFixture {
protected:
    LoadSideBarWidgetTest()
    {
        commander_->MakeElement("Blur", "");
        store_.Save("morning");
        store_.Save("noon");
        widget_.resize(300, 300);
        widget_.show();
        widget_.ReadLoadFiles();
    }

    QStringList Rows() const
    {
        QStringList rows;
        for (int i = 0; i < widget_.List()->count(); ++i)
            rows << widget_.List()->item(i)->text();
        rows.sort();
        return rows;
    }

    QPoint CentreOf(const QString& name) const
    {
        const QList<QListWidgetItem*> found = widget_.List()->findItems(name, Qt::MatchExactly);
        return found.isEmpty() ? QPoint(-1, -1) : widget_.List()->visualItemRect(found.front()).center();
    }

    LoadSideBarWidget widget_{hub_, nullptr};
};

}  // namespace

TEST_F(LoadSideBarWidgetTest, ListsTheSavedPipelines)
{
    EXPECT_EQ(Rows(), QStringList({"morning", "noon"}));
    store_.Save("night");
    widget_.ReadLoadFiles();
    EXPECT_EQ(Rows(), QStringList({"morning", "night", "noon"}));
}

TEST_F(LoadSideBarWidgetTest, AClickLoadsTheNamedPipeline)
{
    commander_->Clear();
    ASSERT_TRUE(commander_->GetElementIds().empty());
    QTest::mouseClick(widget_.List()->viewport(), Qt::LeftButton, Qt::NoModifier, CentreOf("noon"));
    const std::vector<std::string> ids = commander_->GetElementIds();
    ASSERT_EQ(ids.size(), 1u);
    EXPECT_EQ(commander_->GetElement(ids.front())->GetType(), "Blur");
}

TEST_F(LoadSideBarWidgetTest, DeleteRemovesTheFileAndTheRow)
{
    LogCapture log;
    ASSERT_TRUE(RunAndChoose([&] { widget_.ContextMenuRequest(CentreOf("morning")); },
                             [](QMenu* menu) {
                                 ASSERT_EQ(menu->actions().size(), 1);
                                 EXPECT_EQ(menu->actions().front()->text(), "Delete");
                                 Choose(menu, "Delete");
                             }));
    EXPECT_FALSE(IsSaved("morning"));
    EXPECT_TRUE(IsSaved("noon"));
    EXPECT_EQ(Rows(), QStringList({"noon"}));
    const std::vector<std::string> messages = log.Messages();
    const auto pressed = std::find(messages.begin(), messages.end(), "Context menu pressed");
    ASSERT_NE(pressed, messages.end()) << log.Text();
    EXPECT_NE(std::find(pressed, messages.end(), "Deleted element morning"), messages.end()) << log.Text();
    EXPECT_NE(log.Text().find("[DEBUG]"), std::string::npos);
}

TEST_F(LoadSideBarWidgetTest, AMenuLeftWithoutAChoiceDeletesNothing)
{
    ASSERT_TRUE(RunAndChoose([&] { widget_.ContextMenuRequest(CentreOf("morning")); },
                             [](QMenu* menu) { QTest::keyClick(menu, Qt::Key_Escape); }));
    EXPECT_TRUE(IsSaved("morning"));
    EXPECT_EQ(Rows(), QStringList({"morning", "noon"}));
}

TEST_F(LoadSideBarWidgetTest, ARightClickBesideTheNamesOffersNothing)
{
    LogCapture log;
    widget_.ContextMenuRequest(QPoint(5, widget_.List()->viewport()->height() - 5));
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_TRUE(log.Contains("Context menu pressed"));
    EXPECT_EQ(Rows(), QStringList({"morning", "noon"}));
}

TEST_F(LoadSideBarWidgetTest, ANameWhoseFileWentAwayIsLoggedAndLoadsNothing)
{
    const std::vector<std::string> before = commander_->GetElementIds();
    ASSERT_TRUE(QFile::remove(QString::fromStdString(PipelineFile("noon"))));
    LogCapture log;
    QTest::mouseClick(widget_.List()->viewport(), Qt::LeftButton, Qt::NoModifier, CentreOf("noon"));
    EXPECT_TRUE(log.Contains("[ERROR]")) << log.Text();
    EXPECT_EQ(commander_->GetElementIds(), before);
}
