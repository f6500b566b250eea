#include "ui/display/PlaybackControlWidget.h"

#include "core/FrameNumber.h"
#include "ui/controls/BetterSlider.h"
#include "ui/controls/ImageButton.h"

#include <QSignalBlocker>
#include <QThread>

#include <algorithm>
#include <climits>

namespace {

long long LastFrame(FrameNumber& frame_number)
{
    return std::max(frame_number.GetFrameCount() - 1, 0LL);
}

int ToSliderInt(long long value)
{
    return static_cast<int>(std::clamp<long long>(value, 0, INT_MAX));
}

}  // namespace

PlaybackControlWidget::PlaybackControlWidget(FrameNumber* frame_number, QWidget* parent)
    : GUISettingItem(parent), link_(std::make_shared<Link>()), play_(MakeButton("play_button")),
      pause_(MakeButton("pause_button")), forward_(MakeButton("forward_button")),
      back_(MakeButton("back_button")), slider_(new BetterSlider(this)), layout_(new QVBoxLayout(this)),
      button_layout_(new QHBoxLayout()), button_row_(new QWidget(this)), frame_label_(new QLabel(this)),
      count_label_(new QLabel(this))
{
    slider_->setOrientation(Qt::Horizontal);
    slider_->setRange(0, 0);
    layout_->addWidget(frame_label_);
    layout_->addWidget(count_label_);
    layout_->addWidget(slider_);
    button_row_->setLayout(button_layout_);
    for (ImageButton* button : {back_, play_, pause_, forward_}) {
        button->setParent(button_row_);
        button_layout_->addWidget(button);
    }
    layout_->addWidget(button_row_);

    connect(&timer_, SIGNAL(timeout()), this, SLOT(UpdateSlider()));
    connect(slider_, SIGNAL(sliderPressed()), this, SLOT(SliderPressed()));
    connect(slider_, SIGNAL(sliderReleased()), this, SLOT(SliderReleased()));
    connect(slider_, SIGNAL(valueChanged(int)), this, SLOT(SliderChanged(int)));
    connect(back_, SIGNAL(clicked()), this, SLOT(StepBack()));
    connect(forward_, SIGNAL(clicked()), this, SLOT(StepForward()));
    connect(play_, SIGNAL(clicked()), this, SLOT(Play()));
    connect(pause_, SIGNAL(clicked()), this, SLOT(Pause()));
    link_->frame_number = frame_number;
    link_->widget = this;
    if (frame_number) {
        destroyed_connection_ =
            frame_number->destroyed_signal.connect([link = link_] { ForgetFrameNumber(link); });
    }
    timer_.start(25);
    UpdateSlider();
}

ImageButton* PlaybackControlWidget::MakeButton(const QString& name)
{
    auto* button = new ImageButton(this);
    button->SetMainImage(":/images/" + name + ".png");
    button->SetPressedImage(":/images/" + name + "_pressed.png");
    button->SetHoveredImage(":/images/" + name + "_hover.png");
    return button;
}

template <typename Action>
void PlaybackControlWidget::WithFrameNumber(Action action)
{
    const std::lock_guard<std::mutex> lock(link_->mutex);
    if (link_->frame_number) {
        action(*link_->frame_number);
    }
}

PlaybackControlWidget::~PlaybackControlWidget()
{
    destroyed_connection_.disconnect();
    // A slot already running on another thread finishes before this returns.
    const std::lock_guard<std::mutex> lock(link_->mutex);
    link_->widget = nullptr;
}

void PlaybackControlWidget::ForgetFrameNumber(const std::shared_ptr<Link>& link)
{
    const std::lock_guard<std::mutex> lock(link->mutex);
    link->frame_number = nullptr;
    PlaybackControlWidget* widget = link->widget;
    if (!widget) {
        return;
    }
    // A timer is stopped on its own thread.
    if (QThread::currentThread() == widget->thread()) {
        widget->StopTimer();
    } else {
        QMetaObject::invokeMethod(widget, "StopTimer", Qt::QueuedConnection);
    }
    widget->deleteLater();
}

void PlaybackControlWidget::StopTimer()
{
    timer_.stop();
}

void PlaybackControlWidget::UpdateSlider()
{
    try {
        WithFrameNumber([this](FrameNumber& frame_number) {
            if (held_) {
                frame_number.SetFrame(slider_->value());
                return;
            }
            // Showing the position is not a user change.
            const QSignalBlocker blocker(slider_);
            slider_->setMaximum(ToSliderInt(LastFrame(frame_number)));
            slider_->setValue(ToSliderInt(frame_number.GetFrame()));
        });
    } catch (...) {
    }
    UpdateLabels();
}

void PlaybackControlWidget::UpdateLabels()
{
    WithFrameNumber([this](FrameNumber& frame_number) {
        frame_label_->setText("Frame : " + QString::number(frame_number.GetFrame()));
        count_label_->setText("Frames in file : " + QString::number(frame_number.GetFrameCount()));
    });
}

void PlaybackControlWidget::SliderPressed()
{
    held_ = true;
    WithFrameNumber([this](FrameNumber& frame_number) { frame_number.SetFrame(slider_->value()); });
}

void PlaybackControlWidget::SliderChanged(int value)
{
    if (!held_) {
        return;
    }
    WithFrameNumber([value](FrameNumber& frame_number) { frame_number.SetFrame(value); });
}

void PlaybackControlWidget::SliderReleased()
{
    held_ = false;
}

void PlaybackControlWidget::Play()
{
    WithFrameNumber([](FrameNumber& frame_number) { frame_number.SetPaused(false); });
}

void PlaybackControlWidget::Pause()
{
    WithFrameNumber([](FrameNumber& frame_number) { frame_number.SetPaused(true); });
}

void PlaybackControlWidget::StepBack()
{
    Step(-1);
}

void PlaybackControlWidget::StepForward()
{
    Step(1);
}

void PlaybackControlWidget::Step(long long step)
{
    WithFrameNumber([step](FrameNumber& frame_number) {
        frame_number.SetPaused(true);
        const long long frame = frame_number.GetFrame();
        const long long target = std::clamp(frame + step, 0LL, LastFrame(frame_number));
        if (target == frame + 1) {
            frame_number.StepForward();
        } else if (target == frame - 1) {
            frame_number.StepBack();
        } else {
            frame_number.SetFrame(target);
        }
    });
}
