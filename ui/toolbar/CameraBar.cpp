#include "ui/toolbar/CameraBar.h"

#include "core/CameraControls.h"
#include "core/ControlAndStatus.h"
#include "ui/controls/StyledBackground.h"
#include "ui/toolbar/BoolIndicator.h"
#include "ui/toolbar/NumberDisplay.h"

#include <QHBoxLayout>
#include <QSpacerItem>
#include <QTimer>

#include <cmath>
#include <limits>

namespace {

// The figure as a whole number; a rate that is not a number shows as 0, and figures
// beyond the int range stop at its ends.
int ToDisplayInt(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (value <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

}  // namespace

CameraBar::CameraBar(boost::shared_ptr<ControlAndStatus> hub, QWidget* parent)
    : QWidget(parent), hub_(hub), layout_(new QHBoxLayout(this)), timer_(new QTimer(this)),
      new_frame_(new BoolIndicator(nullptr, this)), frames_(new NumberDisplay(this)),
      frames_per_second_(new NumberDisplay(this)), camera_controls_(hub->GetSharedControl<CameraControls>(""))
{
    frames_->SetName("Frames");
    frames_per_second_->SetName("Frames / s");
    new_frame_->SetLabel("New Frame");
    layout_->addItem(new QSpacerItem(40, 0, QSizePolicy::Minimum, QSizePolicy::Minimum));
    layout_->addWidget(frames_);
    layout_->addWidget(frames_per_second_);
    layout_->addWidget(new_frame_);
    layout_->addItem(new QSpacerItem(10, 0, QSizePolicy::Expanding, QSizePolicy::Minimum));
    layout_->setSpacing(20);
    layout_->setContentsMargins(0, 0, 0, 0);
    // Before every source's own tick, which writes the frames of its last second: once
    // the pipeline holds no source, nothing writes the rate again.
    tick_connection_ = hub_->tick_signal.connect([this] { camera_controls_->frame_rate.Set(0.0); },
                                                 boost::signals2::at_front);
    connect(timer_, SIGNAL(timeout()), this, SLOT(UpdateFromTimer()));
    timer_->start(25);
    UpdateFromTimer();
}

void CameraBar::UpdateFromTimer()
{
    const std::int64_t count = camera_controls_->frame_count.Get();
    frames_->SetNumber(ToDisplayInt(static_cast<double>(count)));
    frames_per_second_->SetNumber(ToDisplayInt(camera_controls_->frame_rate.Get()));
    const bool new_frame = count != last_frame_count_;
    new_frame_->SetState(new_frame);
    last_frame_count_ = count;
}

void CameraBar::paintEvent(QPaintEvent*)
{
    PaintStyledBackground(this);
}
