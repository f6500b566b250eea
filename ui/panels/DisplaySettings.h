#pragma once
// View options beside the settings page's pop-out button: two check boxes and a view
// chooser. Nothing listens to them yet, so they change nothing. Shares the hub and its
// "shared gui" record.

#include <boost/shared_ptr.hpp>

#include <QWidget>

class ControlAndStatus;
class QCheckBox;
class QComboBox;
class QHBoxLayout;
class SharedGUI;

class DisplaySettings : public QWidget {
    Q_OBJECT
public:
    DisplaySettings(boost::shared_ptr<ControlAndStatus> hub, QWidget* parent = nullptr);

    const boost::shared_ptr<SharedGUI>& Gui() const { return shared_gui_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QHBoxLayout* layout_;
    QCheckBox* fixed_aspect_ratio_;
    QCheckBox* fixed_image_size_;
    QComboBox* view_;
    boost::shared_ptr<SharedGUI> shared_gui_;
    boost::shared_ptr<ControlAndStatus> hub_;
};
