// A column with one editor per setting of a configurable object, in registration order.
// Forwards every editor's change as its own UpdateSettingsSignal(). The control is
// shared with the caller; the editors are children of the container.
#pragma once

#include <QWidget>
#include <boost/shared_ptr.hpp>

class ControlAndStatus;
class ControlBaseClass;
class QVBoxLayout;

class SettingWIdgetContainer : public QWidget {
    Q_OBJECT
public:
    SettingWIdgetContainer(QWidget* parent, boost::shared_ptr<ControlBaseClass> control,
                           boost::shared_ptr<ControlAndStatus> hub);

signals:
    void UpdateSettingsSignal();

private:
    boost::shared_ptr<ControlAndStatus> hub_;
    QVBoxLayout* layout_;
};
