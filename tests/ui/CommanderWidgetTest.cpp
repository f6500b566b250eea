// The command box against a real commander: "help" answers with the command list, a
// typed line goes to the interpreter on Enter, and each reply is added below the last.
#include "PanelFixture.h"

#include "ui/panels/CommanderWidget.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>

namespace {

class CommanderWidgetTest : public PanelFixture {
protected:
    QString Shown() const { return widget_.TextBox()->toPlainText(); }

    CommanderWidget widget_{hub_, nullptr};
};

}  // namespace

TEST_F(CommanderWidgetTest, StartAnswersHelpWithTheCommandList)
{
    widget_.StartFunction();
    EXPECT_TRUE(Shown().startsWith("Available Commands\n")) << Shown().toStdString();
    for (const char* usage : {"start", "save [name to save]", "load [name of saved pipeline]", "elements"})
        EXPECT_TRUE(Shown().contains(QString("\n") + usage + " ")) << usage;
    EXPECT_TRUE(Shown().contains("- Saves a pipeline\n"));
    EXPECT_TRUE(widget_.CommandLine()->text().isEmpty());
}

TEST_F(CommanderWidgetTest, EnterSendsTheTypedLineAndRepliesFollowEachOther)
{
    struct Case {
        const char* line;
        const char* reply;
    };
    const Case cases[] = {
        {"make Blur", "Blur_0"},
        {"frobnicate now", "Unrecognised command : frobnicate now"},
        {"start", "Success"},
    };
    QString expected;
    for (const Case& c : cases) {
        QTest::keyClicks(widget_.CommandLine(), c.line);
        QTest::keyClick(widget_.CommandLine(), Qt::Key_Return);
        expected += QString(c.reply) + "\n";
        EXPECT_EQ(Shown(), expected) << c.line;
        EXPECT_TRUE(widget_.CommandLine()->text().isEmpty());
    }
    EXPECT_EQ(commander_->GetElementIds(), std::vector<std::string>{"Blur_0"});
    commander_->Stop();
}

TEST_F(CommanderWidgetTest, KeepsTheNewestReplyInSight)
{
    widget_.resize(300, 200);
    widget_.show();
    for (int i = 0; i < 5; ++i)
        widget_.StartFunction();
    QPlainTextEdit* box = widget_.TextBox();
    EXPECT_TRUE(box->viewport()->rect().contains(box->cursorRect()));
    EXPECT_GT(box->verticalScrollBar()->value(), 0);
}

TEST(CommanderWidgetAloneTest, WithoutACommanderTheLineStays)
{
    const testsupport::ScopedHome home;
    CommanderWidget widget(boost::make_shared<ControlAndStatus>(), nullptr);
    widget.CommandLine()->setText("help");
    widget.CallCommand();
    EXPECT_EQ(widget.CommandLine()->text(), "help");
    EXPECT_TRUE(widget.TextBox()->toPlainText().isEmpty());
}
