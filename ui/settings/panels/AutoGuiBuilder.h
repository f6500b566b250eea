// The settings page of any configurable object (the global settings page uses it for
// the shared frame-rate and preview records): its editors, signal buttons and pipe
// widgets in one column. An edit fires the object's settings-changed signal only; the
// settings-changed flag belongs to elements and is left alone. Shares the control.
#pragma once

#include <QWidget>
#include <boost/shared_ptr.hpp>

class ControlAndStatus;
class ControlBaseClass;
class QVBoxLayout;
class SettingWIdgetContainer;

class AutoGuiBuilder : public QWidget {
    Q_OBJECT
public:
    // An empty control gives an empty page.
    AutoGuiBuilder(boost::shared_ptr<ControlAndStatus> hub, QWidget* parent,
                   boost::shared_ptr<ControlBaseClass> control);

protected slots:
    void UpdateSettingsInBackend();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    boost::shared_ptr<ControlAndStatus> hub_;
    QVBoxLayout* layout_;
    boost::shared_ptr<ControlBaseClass> control_;
    SettingWIdgetContainer* settings_ = nullptr;
};
