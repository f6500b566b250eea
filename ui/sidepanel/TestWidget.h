#pragma once
// The side-bar page "test": one floating-point number selector to try the value controls.

#include <boost/shared_ptr.hpp>

#include <QWidget>

class ControlAndStatus;
class QVBoxLayout;
class ValueSelector;

class TestWidget : public QWidget {
    Q_OBJECT
public:
    TestWidget(boost::shared_ptr<ControlAndStatus> hub, QWidget* parent = nullptr);

    ValueSelector* Selector() const { return selector_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QVBoxLayout* layout_;
    ValueSelector* selector_;
};
