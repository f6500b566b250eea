#pragma once
// The tool bar's frame figures: the live source's frame count and frame rate, and a
// light that is on for one 25 ms tick after each new frame. The rate falls to 0 at the
// first one-second tick with no source left to write it.

#include <boost/shared_ptr.hpp>
#include <boost/signals2/connection.hpp>

#include <QWidget>

#include <cstdint>

class BoolIndicator;
class CameraControls;
class ControlAndStatus;
class NumberDisplay;
class QHBoxLayout;
class QTimer;

class CameraBar : public QWidget {
    Q_OBJECT
public:
    CameraBar(boost::shared_ptr<ControlAndStatus> hub, QWidget* parent = nullptr);

    NumberDisplay* Frames() const { return frames_; }
    NumberDisplay* FramesPerSecond() const { return frames_per_second_; }
    BoolIndicator* NewFrame() const { return new_frame_; }

public slots:
    void UpdateFromTimer();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    boost::shared_ptr<ControlAndStatus> hub_;
    QHBoxLayout* layout_;
    QTimer* timer_;
    BoolIndicator* new_frame_;
    NumberDisplay* frames_;
    NumberDisplay* frames_per_second_;
    boost::shared_ptr<CameraControls> camera_controls_;
    std::int64_t last_frame_count_ = 0;
    boost::signals2::scoped_connection tick_connection_;
};
