#pragma once
// The side panel's "Settings" page: generated editors for the shared preview and
// frame-rate records. The panels are its children; the records live with the hub.

#include <boost/shared_ptr.hpp>

#include <QWidget>

class AutoGuiBuilder;
class ControlAndStatus;
class QVBoxLayout;

class GlobalSettingsWidget : public QWidget {
    Q_OBJECT
public:
    GlobalSettingsWidget(boost::shared_ptr<ControlAndStatus> hub, QWidget* parent = nullptr);

    AutoGuiBuilder* PreviewPanel() const { return preview_panel_; }
    AutoGuiBuilder* FrameRatePanel() const { return frame_rate_panel_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void MakeWidgets();

    boost::shared_ptr<ControlAndStatus> hub_;
    QVBoxLayout* layout_ = nullptr;
    AutoGuiBuilder* frame_rate_panel_ = nullptr;
    AutoGuiBuilder* preview_panel_ = nullptr;
};
