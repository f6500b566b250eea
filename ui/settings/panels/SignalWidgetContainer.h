// A column with one push button per named signal of a configurable object, in order.
#pragma once

#include <QWidget>
#include <boost/shared_ptr.hpp>

class ControlAndStatus;
class ControlBaseClass;
class QVBoxLayout;

class SignalWidgetContainer : public QWidget {
    Q_OBJECT
public:
    SignalWidgetContainer(QWidget* parent, boost::shared_ptr<ControlBaseClass> control,
                          boost::shared_ptr<ControlAndStatus> hub);

private:
    boost::shared_ptr<ControlAndStatus> hub_;
    QVBoxLayout* layout_;
};
