#pragma once
// Play, pause, step and scrub through the file of one video reader. Every 25 ms the
// slider follows the reader's position, except while the user holds it: then the
// reader follows the slider. Positions stay within 0..count-1. Borrows the element's
// frame number and forgets it (and deletes itself later) the moment it is destroyed.
// The frame number may go on another thread, even while this widget goes: the two
// meet only in a small shared link with its own lock, which outlives whichever goes first.

#include "ui/settings/GUISettingItem.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>
#include <boost/signals2/connection.hpp>

#include <memory>
#include <mutex>

class BetterSlider;
class FrameNumber;
class ImageButton;

class PlaybackControlWidget : public GUISettingItem {
    Q_OBJECT
public:
    PlaybackControlWidget(FrameNumber* frame_number, QWidget* parent);
    ~PlaybackControlWidget() override;

    BetterSlider* Slider() const { return slider_; }
    ImageButton* PlayButton() const { return play_; }
    ImageButton* PauseButton() const { return pause_; }
    ImageButton* ForwardButton() const { return forward_; }
    ImageButton* BackButton() const { return back_; }
    QLabel* FrameLabel() const { return frame_label_; }
    QLabel* CountLabel() const { return count_label_; }

protected slots:
    void UpdateSlider();
    void SliderPressed();
    void SliderReleased();
    void Pause();
    void Play();
    void StepBack();
    void StepForward();
    void UpdateLabels();
    void SliderChanged(int value);

private slots:
    void StopTimer();

private:
    struct Link {
        std::mutex mutex;  // guards both pointers
        FrameNumber* frame_number = nullptr;
        PlaybackControlWidget* widget = nullptr;  // null once the widget is being destroyed
    };

    ImageButton* MakeButton(const QString& name);
    // Runs on the thread that destroys the frame number.
    static void ForgetFrameNumber(const std::shared_ptr<Link>& link);
    // Runs the action on the frame number while holding its lock; nothing once it is gone.
    template <typename Action>
    void WithFrameNumber(Action action);
    // Moves by the step, held within 0..count-1, and pauses first.
    void Step(long long step);

    std::shared_ptr<Link> link_;  // shared with the destroyed signal's slot
    ImageButton* play_;
    ImageButton* pause_;
    ImageButton* forward_;
    ImageButton* back_;
    BetterSlider* slider_;
    QVBoxLayout* layout_;
    QHBoxLayout* button_layout_;
    QWidget* button_row_;
    QTimer timer_;
    QLabel* frame_label_;
    QLabel* count_label_;
    bool held_ = false;
    boost::signals2::scoped_connection destroyed_connection_;
};
