#pragma once
// The main window's tool bar. Once given the hub it adds the live controls: the engine
// buttons before every other entry, the camera bar and the CPU graph after them. The
// widgets it adds are its children.

#include <boost/shared_ptr.hpp>

#include <QToolBar>

class CameraBar;
class ControlAndStatus;
class CpuGraph;
class EngineControlButtons;

class CustomToolBar : public QToolBar {
    Q_OBJECT
public:
    explicit CustomToolBar(QWidget* parent = nullptr);

    // Builds and places the live controls; call once.
    void Setup(boost::shared_ptr<ControlAndStatus> hub);

    EngineControlButtons* GetEngineControlButtons() const { return engine_buttons_; }
    CameraBar* GetCameraBar() const { return camera_bar_; }
    CpuGraph* GetCpuGraph() const { return cpu_graph_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    boost::shared_ptr<ControlAndStatus> hub_;
    EngineControlButtons* engine_buttons_ = nullptr;
    CameraBar* camera_bar_ = nullptr;
    CpuGraph* cpu_graph_ = nullptr;
};
