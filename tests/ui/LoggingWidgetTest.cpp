#include "ui/panels/LoggingWidget.h"

#include "core/FILELog.h"
#include "ui/panels/LockedStreamBuffer.h"
#include "WindowTestSupport.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <gtest/gtest.h>

#include <atomic>
#include <iostream>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

using windowtest::WaitForGui;

namespace {

int Occurrences(const QString& text, const QString& part)
{
    return text.count(part);
}

class LoggingWidgetTest : public ::testing::Test {
protected:
    LoggingWidgetTest() : view_(new LoggingWidget)
    {
        view_->resize(400, 200);
        view_->show();
    }

    QString Shown() const { return view_->TextBox()->toPlainText(); }

    bool WaitUntilShown(const QString& part)
    {
        return WaitForGui([&] { return Shown().contains(part); });
    }

    // Writes a marker line to std::cout and waits for it: every tick before has run.
    void Settle(const std::string& marker)
    {
        std::cout << marker << std::endl;
        ASSERT_TRUE(WaitUntilShown(QString::fromStdString(marker)));
    }

    std::unique_ptr<LoggingWidget> view_;
};

}  // namespace

TEST_F(LoggingWidgetTest, ALineFromAnotherThreadShowsOnce)
{
    struct Case {
        std::ostream* stream;
        std::string line;
    };
    const std::vector<Case> cases = {
        {&std::cerr, "from a thread on cerr"},
        {&std::cout, "from a thread on cout"},
        {&std::clog, "from a thread on clog"},
    };
    for (const Case& c : cases) {
        std::thread writer([&] { *c.stream << c.line << std::endl; });
        writer.join();
        EXPECT_TRUE(WaitUntilShown(QString::fromStdString(c.line))) << c.line;
    }
    Settle("settled");
    for (const Case& c : cases)
        EXPECT_EQ(Occurrences(Shown(), QString::fromStdString(c.line)), 1) << c.line;
}

TEST_F(LoggingWidgetTest, ALogLineShowsOnce)
{
    std::thread writer([] { FILE_LOG(logINFO) << "a logged line"; });
    writer.join();
    ASSERT_TRUE(WaitUntilShown("a logged line"));
    Settle("after the log line");
    EXPECT_EQ(Occurrences(Shown(), "a logged line"), 1);
}

TEST_F(LoggingWidgetTest, ALoneSpaceWaitsForMoreText)
{
    std::cerr << " ";
    Settle("marker one");
    EXPECT_FALSE(Shown().contains(" x"));
    std::cerr << "x" << std::flush;
    ASSERT_TRUE(WaitUntilShown(" x"));
}

TEST_F(LoggingWidgetTest, FollowsTheNewestLineUnlessFocused)
{
    for (int i = 0; i < 200; ++i)
        std::cout << "filler " << i << "\n";
    Settle("filled");
    QScrollBar* bar = view_->TextBox()->verticalScrollBar();
    // The text box lays the new text out after the tick that inserted it.
    EXPECT_TRUE(WaitForGui([&] { return bar->maximum() > 0 && bar->value() == bar->maximum(); }));

    QApplication::setActiveWindow(view_.get());
    view_->TextBox()->setFocus();
    ASSERT_TRUE(WaitForGui([&] { return view_->TextBox()->hasFocus(); }));
    bar->setValue(0);
    for (int i = 0; i < 200; ++i)
        std::cout << "while reading " << i << "\n";
    Settle("read on");
    EXPECT_EQ(bar->value(), 0);
}

TEST_F(LoggingWidgetTest, KeepsTheNewestTenThousandLines)
{
    const int lines = LoggingWidget::kMaxLines + 500;
    std::ostringstream text;
    for (int i = 0; i < lines; ++i)
        text << "line " << i << "\n";
    std::cout << text.str();
    Settle("last");
    EXPECT_LE(view_->TextBox()->blockCount(), LoggingWidget::kMaxLines);
    EXPECT_FALSE(Shown().contains("line 499\n"));
    EXPECT_TRUE(Shown().contains("line " + QString::number(lines - 1) + "\n"));
}

TEST_F(LoggingWidgetTest, AHugeBurstKeepsItsNewestLines)
{
    // Ten times what the view keeps, arriving in one tick.
    std::ostringstream text;
    for (int i = 0; i < 10 * LoggingWidget::kMaxLines; ++i)
        text << "burst line " << i << "\n";
    std::cout << text.str() << "burst end" << std::endl;
    ASSERT_TRUE(WaitUntilShown("burst end"));
    EXPECT_TRUE(Shown().contains("burst line " + QString::number(10 * LoggingWidget::kMaxLines - 1)));
    EXPECT_LE(view_->TextBox()->blockCount(), LoggingWidget::kMaxLines);
}

TEST_F(LoggingWidgetTest, ConcurrentWritersEachLandWholeLines)
{
    constexpr int kThreads = 4;
    constexpr int kLines = 300;
    std::vector<std::thread> writers;
    for (int t = 0; t < kThreads; ++t) {
        writers.emplace_back([t] {
            for (int i = 0; i < kLines; ++i)
                std::cout << ("writer " + std::to_string(t) + " line " + std::to_string(i) + "\n");
        });
    }
    for (std::thread& writer : writers)
        writer.join();
    Settle("all written");
    const QStringList shown = Shown().split('\n');
    int written = 0;
    for (const QString& line : shown) {
        if (line.startsWith("writer ")) {
            ++written;
            EXPECT_TRUE(QRegExp("writer \\d line \\d+").exactMatch(line)) << line.toStdString();
        }
    }
    EXPECT_EQ(written, kThreads * kLines);
}

TEST(LoggingWidgetLifetimeTest, PrintingWhileViewsComeAndGoIsSafe)
{
    // Leaked on purpose: the captured std::clog forwards to it for the rest of the program.
    auto* original = new std::stringbuf;
    std::clog.rdbuf(original);
    std::atomic<bool> stop{false};
    std::thread printer([&] {
        while (!stop)
            std::clog << "printing during shutdown\n";
    });
    for (int i = 0; i < 20; ++i) {
        LoggingWidget view;
        view.UpdateLog();
    }
    stop = true;
    printer.join();
    std::clog << "after the views" << std::flush;
    // The last view gone, every line reaches the original buffer whole.
    const std::string text = original->str();
    const std::string line = "printing during shutdown\n";
    std::size_t at = 0;
    while (text.compare(at, line.size(), line) == 0)
        at += line.size();
    EXPECT_EQ(text.substr(at), "after the views");
}

TEST(LoggingWidgetLifetimeTest, OnceTheViewIsGoneTextReachesTheOriginalBuffer)
{
    // Leaked on purpose: the captured std::cout forwards to it for the rest of the program.
    auto* original = new std::stringbuf;
    std::cout.rdbuf(original);
    {
        LoggingWidget view;
        std::cout << "collected";
        view.UpdateLog();
        EXPECT_TRUE(view.TextBox()->toPlainText().contains("collected"));
        std::cout << "left behind";
    }
    std::cout << " after the view" << std::flush;
    EXPECT_EQ(original->str(), "left behind after the view");
}

TEST(LoggingWidgetLinesTest, ABurstIsCutToItsNewestLinesBeforeItIsShown)
{
    const std::vector<std::tuple<std::string, int, std::string>> cases = {
        {"a\nb\nc\n", 2, "b\nc\n"},        {"a\nb\nc\n", 3, "a\nb\nc\n"},
        {"a\nb\nc\n", 5, "a\nb\nc\n"},     {"a\nb\nc", 1, "b\nc"},
        {"a\nb\nc", 2, "a\nb\nc"},         {"\n\n\n", 1, "\n"},
        {"no line end", 1, "no line end"}, {"", 3, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LoggingWidget::NewestLines(std::get<0>(c), std::get<1>(c)), std::get<2>(c))
            << std::get<0>(c);
}

TEST(LockedStreamBufferTest, CollectsForwardsAndKeepsALoneSpace)
{
    LockedStreamBuffer buffer;
    std::ostream stream(&buffer);
    stream << " ";
    EXPECT_EQ(buffer.Take(), "");
    stream << 'a' << "bc";
    EXPECT_EQ(buffer.Take(), " abc");
    EXPECT_EQ(buffer.Take(), "");

    std::stringbuf target;
    stream << "kept";
    buffer.ForwardTo(&target);
    stream << " and forwarded" << std::flush;
    EXPECT_EQ(target.str(), "kept and forwarded");
    EXPECT_EQ(buffer.Take(), "");
    buffer.Collect();
    stream << "collected again";
    EXPECT_EQ(buffer.Take(), "collected again");
    EXPECT_EQ(target.str(), "kept and forwarded");
}
