// The pipe-fed text box: one tick inserts every queued text at the cursor and keeps the
// newest text in sight, except while the box has the focus.
#include "ui/display/LoggingPipeWidget.h"

#include "PipelineFixture.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

using namespace testsupport;

namespace {

class LoggingPipeWidgetTest : public ::testing::Test {
protected:
    void Push(const std::string& text)
    {
        pipe_->Push(PassableItem<std::string>(boost::make_shared<std::string>(text)));
    }

    // One line per tick: the pipe drops its oldest items when the reader falls behind.
    void FeedLines(const std::string& prefix, int count)
    {
        for (int i = 0; i < count; ++i) {
            Push(prefix + std::to_string(i) + "\n");
            Tick();
        }
    }

    // One tick of the widget's timer.
    void Tick() { QMetaObject::invokeMethod(&widget_, "TimerUpdate"); }

    QPlainTextEdit& Box() { return *widget_.TextBox(); }

    boost::shared_ptr<InternalPipe<std::string>> pipe_ = boost::make_shared<InternalPipe<std::string>>();
    LoggingPipeWidget widget_{nullptr, pipe_, nullptr};
};

}  // namespace

TEST_F(LoggingPipeWidgetTest, OneTickTakesEverythingQueuedInOrder)
{
    Push("first ");
    Push("second\n");
    Push("third");
    Tick();
    EXPECT_EQ(Box().toPlainText(), "first second\nthird");
    EXPECT_FALSE(pipe_->Pop().IsValid());
    Tick();
    EXPECT_EQ(Box().toPlainText(), "first second\nthird");
}

TEST_F(LoggingPipeWidgetTest, TextGoesInAtTheCursor)
{
    Push("ac");
    Tick();
    QTextCursor cursor = Box().textCursor();
    cursor.setPosition(1);
    Box().setTextCursor(cursor);
    Push("b");
    Tick();
    EXPECT_EQ(Box().toPlainText(), "abc");
}

TEST_F(LoggingPipeWidgetTest, TheTimerDrainsThePipeByItself)
{
    Push("on its own");
    EXPECT_TRUE(WaitForGui([&] { return Box().toPlainText() == "on its own"; }));
}

TEST_F(LoggingPipeWidgetTest, KeepsTheCursorInSightUnlessFocused)
{
    widget_.resize(300, 200);
    widget_.show();
    const auto cursor_in_sight = [&] { return Box().viewport()->rect().contains(Box().cursorRect()); };
    FeedLines("filler ", 200);
    QScrollBar* bar = Box().verticalScrollBar();
    EXPECT_GT(bar->value(), 0);
    EXPECT_TRUE(cursor_in_sight());

    QApplication::setActiveWindow(&widget_);
    Box().setFocus();
    ASSERT_TRUE(WaitForGui([&] { return Box().hasFocus(); }));
    Box().moveCursor(QTextCursor::End);
    bar->setValue(0);
    FeedLines("while reading ", 200);
    QApplication::processEvents();
    EXPECT_EQ(bar->value(), 0);
    EXPECT_FALSE(cursor_in_sight());
    EXPECT_TRUE(Box().toPlainText().endsWith("while reading 199\n"));
}
