// A column with one widget per display pipe of a configurable object that has one.
#pragma once

#include <QWidget>
#include <boost/shared_ptr.hpp>

class ControlAndStatus;
class ControlBaseClass;
class QVBoxLayout;

class PipeWidgetContainer : public QWidget {
    Q_OBJECT
public:
    PipeWidgetContainer(QWidget* parent, boost::shared_ptr<ControlBaseClass> control,
                        boost::shared_ptr<ControlAndStatus> hub);

private:
    boost::shared_ptr<ControlAndStatus> hub_;
    QVBoxLayout* layout_;
};
