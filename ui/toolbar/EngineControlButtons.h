#pragma once
// Restart, play/pause, stop and step for the whole pipeline, through the hub's
// commander. The play/pause image follows the commander's pause state within 25 ms,
// whoever paused it.

#include <boost/shared_ptr.hpp>

#include <QWidget>

class ControlAndStatus;
class ImageButton;
class PowerCommanderTop;
class QHBoxLayout;
class QTimer;

class EngineControlButtons : public QWidget {
    Q_OBJECT
public:
    EngineControlButtons(boost::shared_ptr<ControlAndStatus> hub, QWidget* parent = nullptr);

    ImageButton* RestartButton() const { return restart_; }
    ImageButton* PlayPauseButton() const { return play_pause_; }
    ImageButton* StopButton() const { return stop_; }
    ImageButton* StepButton() const { return step_; }

protected slots:
    void Reset();
    void PlayPause();
    void Stop();
    void Step();
    void CheckIfPaused();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ImageButton* MakeButton(const std::string& image, const QString& tool_tip, const char* slot);
    // Null while the hub has no commander.
    PowerCommanderTop* Commander() const;

    QHBoxLayout* layout_;
    ImageButton* restart_;
    ImageButton* play_pause_;
    ImageButton* stop_;
    ImageButton* step_;
    QTimer* timer_;
    boost::shared_ptr<ControlAndStatus> hub_;
    bool paused_ = false;
};
