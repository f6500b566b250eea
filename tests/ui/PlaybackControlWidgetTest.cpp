// The playback widget over a frame number of its own, and over a running "Video Read".
#include "ui/display/PlaybackControlWidget.h"

#include "MouseEvents.h"
#include "PipelineFixture.h"
#include "core/FrameNumber.h"
#include "core/FrameRateSettings.h"
#include "elements/VideoFixtures.h"
#include "ui/controls/BetterSlider.h"
#include "ui/controls/ImageButton.h"

#include <QApplication>
#include <QPointer>
#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <memory>
#include <set>
#include <thread>

using namespace testsupport;

namespace {

void Tick(PlaybackControlWidget& widget)
{
    QMetaObject::invokeMethod(&widget, "UpdateSlider");
}

QPoint Centre(QWidget* widget)
{
    return widget->rect().center();
}

// Two reads in a row that differ: the reader is running.
bool IsPlaying(FrameNumber& frame_number)
{
    const long long first = frame_number.GetFrameAndAdvance();
    const long long second = frame_number.GetFrameAndAdvance();
    frame_number.SetFrame(first);
    return first != second;
}

TEST(PlaybackControlWidgetTest, TheSliderRunsFromZeroToTheLastFrame)
{
    const struct {
        long long count;
        long long frame;
        int maximum;
        int value;
    } cases[] = {{5, 2, 4, 2}, {1, 0, 0, 0}, {0, 0, 0, 0}, {5, 7, 4, 4}, {1LL << 40, 3, INT_MAX, 3}};
    for (const auto& c : cases) {
        FrameNumber frame_number;
        frame_number.SetFrameCount(c.count);
        frame_number.SetFrame(c.frame);
        PlaybackControlWidget widget(&frame_number, nullptr);
        Tick(widget);
        EXPECT_EQ(widget.Slider()->minimum(), 0) << c.count;
        EXPECT_EQ(widget.Slider()->maximum(), c.maximum) << c.count;
        EXPECT_EQ(widget.Slider()->value(), c.value) << c.count;
        // Showing the position never moves the reader.
        EXPECT_EQ(frame_number.GetFrame(), c.frame) << c.count;
        EXPECT_EQ(widget.FrameLabel()->text(), "Frame : " + QString::number(c.frame));
        EXPECT_EQ(widget.CountLabel()->text(), "Frames in file : " + QString::number(c.count));
    }
}

TEST(PlaybackControlWidgetTest, StepButtonsPauseAndStayInTheFile)
{
    enum Button { kBack, kForward };
    const struct {
        long long count;
        long long frame;
        Button button;
        long long expected;
    } cases[] = {
        {5, 2, kForward, 3}, {5, 2, kBack, 1}, {5, 0, kBack, 0}, {5, 4, kForward, 4},
        {0, 0, kForward, 0}, {0, 0, kBack, 0}, {5, 9, kBack, 4},
    };
    for (const auto& c : cases) {
        FrameNumber frame_number;
        frame_number.SetFrameCount(c.count);
        frame_number.SetFrame(c.frame);
        PlaybackControlWidget widget(&frame_number, nullptr);
        widget.show();
        ImageButton* button = c.button == kBack ? widget.BackButton() : widget.ForwardButton();
        Click(button, Centre(button));
        EXPECT_EQ(frame_number.GetFrame(), c.expected) << c.count << " " << c.frame;
        EXPECT_FALSE(IsPlaying(frame_number));
        Click(widget.PlayButton(), Centre(widget.PlayButton()));
        if (c.count > 1) {
            EXPECT_TRUE(IsPlaying(frame_number));
        }
        Click(widget.PauseButton(), Centre(widget.PauseButton()));
        EXPECT_FALSE(IsPlaying(frame_number));
    }
}

// The frame number goes first: the widget must not touch it again, not even in a
// tick or a click that comes before its deferred deletion.
TEST(PlaybackControlWidgetTest, AFrameNumberDestroyedUnderTheWidgetIsForgotten)
{
    auto frame_number = std::make_unique<FrameNumber>();
    frame_number->SetFrameCount(10);
    QPointer<PlaybackControlWidget> widget = new PlaybackControlWidget(frame_number.get(), nullptr);
    widget->show();
    Tick(*widget);
    frame_number.reset();
    Tick(*widget);
    Click(widget->ForwardButton(), Centre(widget->ForwardButton()));
    Press(widget->Slider(), Centre(widget->Slider()));
    EXPECT_TRUE(WaitForGui([&] { return widget.isNull(); }));
}

TEST(PlaybackControlWidgetTest, AFrameNumberDestroyedOnAnotherThreadIsForgotten)
{
    auto* frame_number = new FrameNumber();
    frame_number->SetFrameCount(10);
    QPointer<PlaybackControlWidget> widget = new PlaybackControlWidget(frame_number, nullptr);
    widget->show();
    std::thread element_thread([frame_number] { delete frame_number; });
    EXPECT_TRUE(WaitForGui([&] { return widget.isNull(); }));
    element_thread.join();
}

// The widget and its frame number going at the same moment on two threads: neither side
// may touch the other once it is gone (the sanitizer build sees a slip).
TEST(PlaybackControlWidgetTest, TheWidgetAndItsFrameNumberMayGoAtOnce)
{
    const int widgets_before = QApplication::allWidgets().size();
    for (int round = 0; round < 200; ++round) {
        auto* frame_number = new FrameNumber();
        frame_number->SetFrameCount(10);
        auto* widget = new PlaybackControlWidget(frame_number, nullptr);
        std::atomic<bool> go{false};
        std::thread element_thread([&go, frame_number] {
            while (!go.load()) {
            }
            delete frame_number;
        });
        go.store(true);
        delete widget;
        element_thread.join();
        QApplication::processEvents();
    }
    // Each widget went with all its children, whichever side went first.
    EXPECT_EQ(QApplication::allWidgets().size(), widgets_before);
}

class PlaybackPipelineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        pipeline_ = std::make_unique<PipelineFixture>();
        const std::string clip = files_.File("clip.avi");
        ASSERT_EQ(videofixtures::WriteLosslessVideo(clip, 30, 25.0).size(), 30u);
        reader_ = pipeline_->Commander().MakeElement("Video Read", "");
        pipeline_->Commander().GetElement(reader_)->settings.SetValue("_file_path", clip, "");
        const std::string blur = pipeline_->Commander().MakeElement("Blur", "");
        pipeline_->Commander().ConnectElements(reader_, blur);
        // Paced, so that the widget's 25 ms ticks see every position.
        auto pacing = pipeline_->Hub()->GetSharedControl<FrameRateSettings>("");
        pacing->global_frame_rate.Set(25.0);
        pacing->limit_frame_rate.Set(true);
        pipeline_->Commander().Start();
        frame_number_ = pipeline_->Setting<FrameNumber*>(reader_, "_frame_number");
        widget_ = new PlaybackControlWidget(frame_number_, nullptr);
        widget_->resize(300, 200);
        widget_->show();
    }

    void TearDown() override { delete widget_.data(); }

    // The reader's position once it has read a few more frames.
    long long FrameAfterAFewReads()
    {
        const boost::shared_ptr<ElementBase> blur = pipeline_->Commander().GetElement("Blur_0");
        const long long frames = blur->GetInputs().front()->frame_count.Get();
        EXPECT_TRUE(WaitForGui([&] { return blur->GetInputs().front()->frame_count.Get() > frames + 5; }));
        return frame_number_->GetFrame();
    }

    TempDir files_;
    std::unique_ptr<PipelineFixture> pipeline_;
    std::string reader_;
    FrameNumber* frame_number_ = nullptr;
    QPointer<PlaybackControlWidget> widget_;
};

TEST_F(PlaybackPipelineTest, TheSliderFollowsThePlayingFile)
{
    ASSERT_TRUE(WaitForGui([&] { return widget_->Slider()->maximum() == 29; }));
    EXPECT_EQ(widget_->CountLabel()->text(), "Frames in file : 30");
    std::set<int> seen;
    EXPECT_TRUE(WaitForGui([&] {
        seen.insert(widget_->Slider()->value());
        return seen.size() >= 4;
    }));
}

// Held, the slider holds the reader at its position; released, the reader stays there.
TEST_F(PlaybackPipelineTest, TheHeldSliderHoldsThePosition)
{
    ASSERT_TRUE(WaitForGui([&] { return widget_->Slider()->maximum() == 29; }));
    BetterSlider* slider = widget_->Slider();
    Press(slider, QPoint(slider->width() * 3 / 4, slider->height() / 2));
    const int held = slider->value();
    EXPECT_GT(held, 15);
    for (int i = 0; i < 3; ++i) {
        const long long frame = FrameAfterAFewReads();
        EXPECT_GE(frame, held);
        EXPECT_LE(frame, held + 2);
    }

    Click(widget_->PauseButton(), Centre(widget_->PauseButton()));
    Move(slider, QPoint(slider->width() / 4, slider->height() / 2));
    const int moved = slider->value();
    EXPECT_LT(moved, 12);
    Release(slider, QPoint(slider->width() / 4, slider->height() / 2));
    EXPECT_EQ(FrameAfterAFewReads(), moved);
    EXPECT_TRUE(WaitForGui([&] { return slider->value() == moved; }));
}

TEST_F(PlaybackPipelineTest, RemovingTheReaderRemovesTheWidget)
{
    pipeline_->Commander().RemoveElement(reader_);
    EXPECT_TRUE(WaitForGui([&] { return widget_.isNull(); }));
}

}  // namespace
