#include "ui/toolbar/EngineControlButtons.h"

#include "control/PowerCommanderTop.h"
#include "core/ControlAndStatus.h"
#include "ui/controls/ImageButton.h"
#include "ui/controls/StyledBackground.h"

#include <QHBoxLayout>
#include <QTimer>

namespace {

const char* const kPauseImage = ":/images/blue_round_pause_button.png";
const char* const kPlayImage = ":/images/blue_round_play_button.png";

}  // namespace

EngineControlButtons::EngineControlButtons(boost::shared_ptr<ControlAndStatus> hub, QWidget* parent)
    : QWidget(parent), layout_(new QHBoxLayout(this)),
      restart_(MakeButton(":/images/blue_round_restart_button.png", "Restart", SLOT(Reset()))),
      play_pause_(MakeButton(kPauseImage, "Play", SLOT(PlayPause()))),
      stop_(MakeButton(":/images/blue_round_stop_button.png", "Stop", SLOT(Stop()))),
      step_(MakeButton(":/images/blue_round_step_forward_button.png", "Step", SLOT(Step()))),
      timer_(new QTimer(this)), hub_(hub)
{
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(10);
    connect(timer_, SIGNAL(timeout()), this, SLOT(CheckIfPaused()));
    timer_->start(25);
}

ImageButton* EngineControlButtons::MakeButton(const std::string& image, const QString& tool_tip,
                                              const char* slot)
{
    auto* button = new ImageButton(this);
    button->SetImages(image);
    button->setToolTip(tool_tip);
    layout_->addWidget(button);
    connect(button, SIGNAL(clicked()), this, slot);
    return button;
}

PowerCommanderTop* EngineControlButtons::Commander() const
{
    return hub_ ? hub_->GetCommander() : nullptr;
}

void EngineControlButtons::CheckIfPaused()
{
    PowerCommanderTop* commander = Commander();
    if (commander == nullptr)
        return;
    const bool paused = commander->IsPaused();
    if (paused == paused_)
        return;
    play_pause_->SetImages(paused ? kPlayImage : kPauseImage);
    paused_ = paused;
}

void EngineControlButtons::PlayPause()
{
    // The commander's state at the click, not the image's: two quick clicks within one
    // 25 ms tick pause and resume.
    if (PowerCommanderTop* commander = Commander()) {
        commander->Pause(!commander->IsPaused());
        CheckIfPaused();
    }
}

void EngineControlButtons::Reset()
{
    if (PowerCommanderTop* commander = Commander()) {
        commander->Stop();
        commander->Start();
    }
}

void EngineControlButtons::Stop()
{
    if (PowerCommanderTop* commander = Commander())
        commander->Stop();
}

void EngineControlButtons::Step()
{
    if (PowerCommanderTop* commander = Commander())
        commander->Step();
}

void EngineControlButtons::paintEvent(QPaintEvent*)
{
    PaintStyledBackground(this);
}
