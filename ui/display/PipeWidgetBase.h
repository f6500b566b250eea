#pragma once
// Base of the widgets fed from an element's display pipe. Holds the hub for its kinds.

#include <QWidget>
#include <boost/shared_ptr.hpp>

class ControlAndStatus;

class PipeWidgetBase : public QWidget {
    Q_OBJECT
public:
    PipeWidgetBase(boost::shared_ptr<ControlAndStatus> hub, QWidget* parent);

protected:
    boost::shared_ptr<ControlAndStatus> hub_;
};
